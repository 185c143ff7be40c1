// The off-screen targets the frame draws through: a floating-point scene
// target with two colour outputs (the lit scene and what should glow) and a
// depth buffer, and the two ping-pong targets of the blur. All have the
// framebuffer's full size and are made anew whenever that size changes.
#pragma once

#include "framework/gl_handle.h"

#include <array>

class RenderTargets {
public:
    // Deletes the current targets and makes new ones of this size; leaves
    // framebuffer 0 bound.
    void create(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    GLuint sceneFramebuffer() const { return sceneFramebuffer_.get(); }
    GLuint sceneColorTexture() const { return sceneTextures_[0].get(); }
    GLuint brightColorTexture() const { return sceneTextures_[1].get(); }
    GLuint pingpongFramebuffer(int i) const { return pingpongFramebuffers_[i].get(); }
    GLuint pingpongTexture(int i) const { return pingpongTextures_[i].get(); }

private:
    int width_ = 800;
    int height_ = 800;
    FramebufferHandle sceneFramebuffer_;
    std::array<TextureHandle, 2> sceneTextures_;  // colour, bright
    RenderbufferHandle sceneDepthBuffer_;
    std::array<FramebufferHandle, 2> pingpongFramebuffers_;
    std::array<TextureHandle, 2> pingpongTextures_;
};
