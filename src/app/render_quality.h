// quality = auto: a renderer without a graphics card (Mesa's llvmpipe and
// the like) cannot draw the full picture fluidly, so the scene and its glow
// are drawn smaller there. Decided from the renderer's name, the window's
// size and the keys the player set, without GL, so it can be tested.
#pragma once

#include "framework/render_state.h"

#include <set>
#include <string>

// True for a name GL_RENDERER gives when the CPU draws: llvmpipe, softpipe,
// swrast, SwiftShader, Microsoft's basic renderer.
bool isSoftwareRenderer(const std::string& rendererName);

struct QualityChoice {
    RendererSettings settings;  // what to draw with
    std::string line;           // what auto chose, naming the renderer; "" when it chose nothing
    // The window's four samples per pixel: a software renderer writes each
    // of them for every pixel of the composite, and resolves them per frame.
    bool multisample = true;
};

// Only quality = auto on a software renderer changes anything: the render
// scale then shrinks the scene to a fixed budget of pixels (800x800 drawn
// at 0.55 of its size, fluid on two cores), the glow's targets go to half of
// that (a quarter would lose the glow of a spark between its texels) and
// the window does without its samples, except for what `playersKeys`
// ("renderer.render_scale", "renderer.bloom_resolution") shows the player
// chose. In `playerMode` the quality is auto unless the player chose it too.
QualityChoice chooseRenderQuality(const std::string& rendererName, int width, int height,
                                  const RendererSettings& settings, const std::set<std::string>& playersKeys,
                                  bool playerMode = false);
