#include "framework/render_state.h"
#include "support/gl_test_context.h"

using InitialRenderState = GlTest;

TEST_F(InitialRenderState, DefaultsBlendDepthTestFilledNoCulling)
{
    applyInitialRenderState(RendererSettings{});
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC_RGB, &source);
    glGetIntegerv(GL_BLEND_DST_RGB, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    GLint mode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.529f);
    EXPECT_FLOAT_EQ(clear[1], 0.808f);
    EXPECT_FLOAT_EQ(clear[2], 0.922f);
    EXPECT_FLOAT_EQ(clear[3], 1.0f);
}

TEST_F(InitialRenderState, SettingsTurnOnWireframeAndCullingAndOffDepthTest)
{
    RendererSettings settings;
    settings.wireframe = true;
    settings.backface_culling = true;
    settings.depthtest = false;
    applyInitialRenderState(settings);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint mode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
}

TEST_F(InitialRenderState, ClearingPaintsTheSky)
{
    applyInitialRenderState(RendererSettings{});
    glClear(GL_COLOR_BUFFER_BIT);
    const auto pixel = readPixels(10, 10, 1, 1);
    EXPECT_NEAR(pixel[0], 135, 1);
    EXPECT_NEAR(pixel[1], 206, 1);
    EXPECT_NEAR(pixel[2], 235, 1);
}
