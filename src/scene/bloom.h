// The glow: the bright part of the scene is blurred by alternating
// horizontal and vertical passes between the ping-pong targets, then added
// to the scene image in a full-screen pass to the window.
#pragma once

#include "fullscreen_quad.h"

#include <memory>

class RenderTargets;
class Shader;

class Bloom {
public:
    static constexpr int blurIterations = 10;
    static constexpr float exposure = 1.0f;
    static constexpr float bloomIntensity = 2.0f;

    // Builds the quad and the blur and composite programs.
    Bloom();
    ~Bloom();

    // Ten passes from the bright target; returns the ping-pong index written last.
    int blur(const RenderTargets& targets);

    // Scene plus blurred glow into framebuffer 0, which it clears first;
    // leaves the depth test off and texture unit 1 active.
    void composite(const RenderTargets& targets, int blurredIndex);

private:
    FullscreenQuad quad;
    std::unique_ptr<Shader> blurShader;
    std::unique_ptr<Shader> compositeShader;
};
