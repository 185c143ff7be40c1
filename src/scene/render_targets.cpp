#include "render_targets.h"

#include "framebuffer_check.h"

#include "framework/texture.h"

#include <algorithm>
#include <cmath>

namespace {

// One side of a target at `scale` of the window's, never below one pixel.
int scaledSide(int side, double scale)
{
    return side > 0 ? std::max(1, static_cast<int>(std::lround(side * scale))) : side;
}

// RGBA16F, linear filtering, clamped: the format of every colour target here.
TextureHandle makeColorTexture(int width, int height, GLint filter = GL_LINEAR)
{
    TextureHandle texture = makeTexture();
    glBindTexture(GL_TEXTURE_2D, texture.get());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
    setBoundTextureSampling(filter, filter, GL_CLAMP_TO_EDGE);
    return texture;
}

}  // namespace

void RenderTargets::create(int width, int height, BloomResolution bloom, double renderScale)
{
    // The old targets go first, so the driver never holds both sets.
    *this = RenderTargets();
    width_ = width;
    height_ = height;
    sceneWidth_ = scaledSide(width, renderScale);
    sceneHeight_ = scaledSide(height, renderScale);
    bloomWidth_ = std::max(1, sceneWidth_ / static_cast<int>(bloom));
    bloomHeight_ = std::max(1, sceneHeight_ / static_cast<int>(bloom));
    // A smaller scene is brought to the window in sharp blocks, not smeared.
    const bool scaled = sceneWidth_ != width || sceneHeight_ != height;

    sceneFramebuffer_ = makeFramebuffer();
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer_.get());
    for (int i = 0; i < 2; ++i) {
        // The bright target stays filtered: the blur's fetches rely on it.
        sceneTextures_[i] = makeColorTexture(sceneWidth_, sceneHeight_, scaled && i == 0 ? GL_NEAREST : GL_LINEAR);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_TEXTURE_2D, sceneTextures_[i].get(), 0);
    }
    sceneDepthBuffer_ = makeRenderbuffer();
    glBindRenderbuffer(GL_RENDERBUFFER, sceneDepthBuffer_.get());
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, sceneWidth_, sceneHeight_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, sceneDepthBuffer_.get());
    const GLenum drawBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, drawBuffers);
    // A minimised window has no pixels to draw, and no target to check.
    const bool drawable = width > 0 && height > 0;
    if (drawable)
        checkBoundFramebuffer("scene", "the level is not drawn.");

    bool bloomComplete = true;
    for (int i = 0; i < 2; ++i) {
        pingpongFramebuffers_[i] = makeFramebuffer();
        glBindFramebuffer(GL_FRAMEBUFFER, pingpongFramebuffers_[i].get());
        pingpongTextures_[i] = makeColorTexture(bloomWidth(), bloomHeight());
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, pingpongTextures_[i].get(), 0);
        // One line for the pair.
        if (drawable && bloomComplete)
            bloomComplete = checkBoundFramebuffer("bloom", "the glow is not drawn.");
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}
