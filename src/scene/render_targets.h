// The off-screen targets the frame draws through: a floating-point scene
// target with two colour outputs (the lit scene and what should glow) and a
// depth buffer, and the two ping-pong targets of the blur. All have the
// framebuffer's full size and are made anew whenever that size changes.
#pragma once

#include <GL/glew.h>

#include <array>

class RenderTargets {
public:
    RenderTargets() = default;
    ~RenderTargets();
    RenderTargets(const RenderTargets&) = delete;
    RenderTargets& operator=(const RenderTargets&) = delete;

    // Deletes the current targets and makes new ones of this size; leaves
    // framebuffer 0 bound.
    void create(int width, int height);
    // Deletes every target; create() makes them again.
    void release();

    int width() const { return width_; }
    int height() const { return height_; }
    GLuint sceneFramebuffer() const { return sceneFramebuffer_; }
    GLuint sceneColorTexture() const { return sceneTextures_[0]; }
    GLuint brightColorTexture() const { return sceneTextures_[1]; }
    GLuint sceneDepthBuffer() const { return sceneDepthBuffer_; }
    GLuint pingpongFramebuffer(int i) const { return pingpongFramebuffers_[i]; }
    GLuint pingpongTexture(int i) const { return pingpongTextures_[i]; }

private:
    int width_ = 800;
    int height_ = 800;
    GLuint sceneFramebuffer_ = 0;
    std::array<GLuint, 2> sceneTextures_{};  // colour, bright
    GLuint sceneDepthBuffer_ = 0;
    std::array<GLuint, 2> pingpongFramebuffers_{};
    std::array<GLuint, 2> pingpongTextures_{};
};
