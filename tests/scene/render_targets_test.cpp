#include "scene/render_targets.h"

#include "support/gl_test_context.h"

namespace {

GLint textureLevelValue(GLuint texture, GLenum name)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    return value;
}

GLenum framebufferStatus(GLuint framebuffer)
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return status;
}

}  // namespace

using RenderTargetsTest = GlTest;

TEST_F(RenderTargetsTest, SceneTargetHasTwoFloatColourOutputsAndDepth)
{
    RenderTargets targets;
    targets.create(40, 30);
    EXPECT_EQ(framebufferStatus(targets.sceneFramebuffer()), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    for (GLuint texture : {targets.sceneColorTexture(), targets.brightColorTexture(), targets.pingpongTexture(0),
                           targets.pingpongTexture(1)}) {
        EXPECT_EQ(textureLevelValue(texture, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA16F);
        EXPECT_EQ(textureLevelValue(texture, GL_TEXTURE_WIDTH), 40);
        EXPECT_EQ(textureLevelValue(texture, GL_TEXTURE_HEIGHT), 30);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, targets.sceneFramebuffer());
    GLint first = 0, second = 0;
    glGetIntegerv(GL_DRAW_BUFFER0, &first);
    glGetIntegerv(GL_DRAW_BUFFER1, &second);
    EXPECT_EQ(first, GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(second, GL_COLOR_ATTACHMENT1);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    for (int i : {0, 1})
        EXPECT_EQ(framebufferStatus(targets.pingpongFramebuffer(i)), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
}

TEST_F(RenderTargetsTest, RecreatingReplacesEveryObjectAtTheNewSize)
{
    RenderTargets targets;
    targets.create(40, 30);
    const GLuint oldFramebuffer = targets.sceneFramebuffer();
    const GLuint oldTextures[] = {targets.sceneColorTexture(), targets.brightColorTexture(),
                                  targets.pingpongTexture(0), targets.pingpongTexture(1)};
    targets.create(50, 20);
    EXPECT_EQ(targets.width(), 50);
    EXPECT_EQ(targets.height(), 20);
    EXPECT_EQ(textureLevelValue(targets.sceneColorTexture(), GL_TEXTURE_WIDTH), 50);
    EXPECT_EQ(textureLevelValue(targets.pingpongTexture(1), GL_TEXTURE_HEIGHT), 20);
    // The old names are gone (they may be handed out again, but not as textures of the old size).
    EXPECT_FALSE(glIsFramebuffer(oldFramebuffer) && oldFramebuffer != targets.sceneFramebuffer() &&
                 oldFramebuffer != targets.pingpongFramebuffer(0) && oldFramebuffer != targets.pingpongFramebuffer(1));
    for (GLuint texture : oldTextures) {
        if (glIsTexture(texture)) {
            EXPECT_NE(textureLevelValue(texture, GL_TEXTURE_WIDTH), 40);
        }
    }
}

TEST_F(RenderTargetsTest, ReleaseDeletesEverything)
{
    RenderTargets targets;
    targets.create(16, 16);
    const GLuint framebuffer = targets.sceneFramebuffer();
    const GLuint texture = targets.pingpongTexture(1);
    targets.release();
    EXPECT_FALSE(glIsFramebuffer(framebuffer));
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_EQ(targets.sceneFramebuffer(), 0u);
}
