// The off-screen targets the frame draws through: a floating-point scene
// target with two colour outputs (the lit scene and what should glow) and a
// depth buffer, and the two ping-pong targets of the blur. The scene target
// has the framebuffer's size or a fraction of it (the render scale), the
// ping-pong targets the scene's size or a half or a quarter of it; all are
// made anew whenever the size changes.
#pragma once

#include "framework/gl_handle.h"
#include "framework/render_state.h"

#include <array>

class RenderTargets {
public:
    // Deletes the current targets and makes new ones of this size; leaves
    // framebuffer 0 bound. A target the driver refuses gets one line on
    // standard output, and the game plays on without it.
    // `renderScale` (0.25 to 1) sizes the scene target against the window;
    // below 1 its colour is read without filtering, so it is shown sharp.
    void create(int width, int height, BloomResolution bloom = BloomResolution::full, double renderScale = 1.0);

    // The window's framebuffer, where the composite and the HUD draw.
    int width() const { return width_; }
    int height() const { return height_; }
    // The scene target's size: the framebuffer's times the render scale, at least 1.
    int sceneWidth() const { return sceneWidth_; }
    int sceneHeight() const { return sceneHeight_; }
    // The ping-pong targets' size: the scene's divided, at least 1.
    int bloomWidth() const { return bloomWidth_; }
    int bloomHeight() const { return bloomHeight_; }
    GLuint sceneFramebuffer() const { return sceneFramebuffer_.get(); }
    GLuint sceneColorTexture() const { return sceneTextures_[0].get(); }
    GLuint brightColorTexture() const { return sceneTextures_[1].get(); }
    GLuint pingpongFramebuffer(int i) const { return pingpongFramebuffers_[i].get(); }
    GLuint pingpongTexture(int i) const { return pingpongTextures_[i].get(); }

private:
    int width_ = 800;
    int height_ = 800;
    int sceneWidth_ = 800;
    int sceneHeight_ = 800;
    int bloomWidth_ = 800;
    int bloomHeight_ = 800;
    FramebufferHandle sceneFramebuffer_;
    std::array<TextureHandle, 2> sceneTextures_;  // colour, bright
    RenderbufferHandle sceneDepthBuffer_;
    std::array<FramebufferHandle, 2> pingpongFramebuffers_;
    std::array<TextureHandle, 2> pingpongTextures_;
};
