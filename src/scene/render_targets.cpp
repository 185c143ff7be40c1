#include "render_targets.h"

#include "framework/gl_names.h"
#include "framework/texture.h"

namespace {

// RGBA16F, linear filtering, clamped: the format of every colour target here.
void allocateColorTexture(GLuint texture, int width, int height)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
    setBoundTextureSampling(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE);
}

}  // namespace

RenderTargets::~RenderTargets()
{
    release();
}

void RenderTargets::release()
{
    deleteFramebuffer(sceneFramebuffer_);
    deleteRenderbuffer(sceneDepthBuffer_);
    for (int i = 0; i < 2; ++i) {
        deleteTexture(sceneTextures_[i]);
        deleteFramebuffer(pingpongFramebuffers_[i]);
        deleteTexture(pingpongTextures_[i]);
    }
}

void RenderTargets::create(int width, int height)
{
    release();
    width_ = width;
    height_ = height;

    glGenFramebuffers(1, &sceneFramebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer_);
    glGenTextures(2, sceneTextures_.data());
    for (int i = 0; i < 2; ++i) {
        allocateColorTexture(sceneTextures_[i], width, height);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_TEXTURE_2D, sceneTextures_[i], 0);
    }
    glGenRenderbuffers(1, &sceneDepthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, sceneDepthBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, sceneDepthBuffer_);
    const GLenum drawBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, drawBuffers);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    glGenFramebuffers(2, pingpongFramebuffers_.data());
    glGenTextures(2, pingpongTextures_.data());
    for (int i = 0; i < 2; ++i) {
        glBindFramebuffer(GL_FRAMEBUFFER, pingpongFramebuffers_[i]);
        allocateColorTexture(pingpongTextures_[i], width, height);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, pingpongTextures_[i], 0);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}
