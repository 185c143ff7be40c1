// The glow: the bright part of the scene is blurred by alternating
// horizontal and vertical passes between the ping-pong targets, then added
// to the scene image in a full-screen pass to the window.
#pragma once

#include "fullscreen_quad.h"

#include "framework/shader.h"

class RenderTargets;

class Bloom {
public:
    static constexpr int blurIterations = 10;
    static constexpr float exposure = 1.0f;
    static constexpr float bloomIntensity = 2.0f;

    // Builds the quad and the blur and composite programs.
    Bloom();

    // One blur pass: iteration 0 reads the bright target, every later one
    // what the one before wrote; even iterations blur along x into ping-pong
    // target 1, odd ones along y into target 0. Smaller ping-pong targets
    // get a viewport of their size from iteration 0 on.
    void blurPass(const RenderTargets& targets, int iteration);

    // Scene plus the glow the last blur pass wrote into framebuffer 0, which
    // it clears first; leaves the depth test off, texture unit 1 active and
    // the viewport at the framebuffer's size.
    void composite(const RenderTargets& targets);

    // The ping-pong target the last of the blur passes writes.
    static constexpr int lastBlurTarget = (blurIterations - 1) % 2 == 0 ? 1 : 0;

private:
    // The blur's step for this framebuffer size, set only when the size changes.
    void setPixelStep(const RenderTargets& targets);

    FullscreenQuad quad;
    Shader blurShader;
    Shader compositeShader;
    int stepWidth_ = 0;
    int stepHeight_ = 0;
};
