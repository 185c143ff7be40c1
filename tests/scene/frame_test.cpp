// Frames of the real level drawn through runFrame with scripted input.
#include "support/game_fixture.h"
#include "support/uniform_recorder.h"

#include "app/callbacks.h"
#include "game/course.h"
#include "scene/frame_passes.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cstdlib>

namespace {

using testing::Contains;
using testing::Not;

// The uploads of `name` made while `program` was current.
std::vector<UniformUpload> uploadsOf(const UniformRecorder& recorder, GLuint program, const std::string& name)
{
    std::vector<UniformUpload> found;
    for (const UniformUpload& upload : recorder.uploads()) {
        if (upload.program == program && upload.name == name)
            found.push_back(upload);
    }
    return found;
}

bool isTranslationTo(const UniformUpload& upload, const glm::vec3& offset)
{
    return upload.kind == "m4" && upload.values[12] == offset.x && upload.values[13] == offset.y &&
           upload.values[14] == offset.z;
}

using FrameTest = GameFixture;

}  // namespace

TEST_F(FrameTest, FirstSecondShowsWallWaterRingsAndTheGlowingFairy)
{
    frames(30, 30.0f);
    saveScreenshot("first_second");
    app.switches.overlayEnabled = false;
    frames(1, 30.0f);
    saveScreenshot("first_second_without_overlay");
    // The follow camera looks over the fairy resting on the water: the wall
    // fills the top, the water the bottom, the fairy glows in the middle.
    const glm::vec3 wall = meanColor(0, 0, windowWidth, windowHeight / 4);
    const glm::vec3 water = meanColor(windowWidth / 4, windowHeight * 3 / 4, windowWidth / 2, windowHeight / 4);
    EXPECT_GT(wall.r + wall.g + wall.b, 150.0f) << "the wall is lit";
    EXPECT_GT(water.b, water.r + 10.0f) << "the water is blue";
    // The fairy sits on the water below the look-at point, in the middle column.
    glm::vec3 fairy(0.0f);
    for (int y = windowHeight / 2; y < windowHeight * 3 / 4; y += 2) {
        const glm::vec3 block = meanColor(windowWidth / 2 - 4, y, 8, 8);
        if (block.r + block.g + block.b > fairy.r + fairy.g + fairy.b)
            fairy = block;
    }
    EXPECT_GT(std::min({fairy.r, fairy.g, fairy.b}), 180.0f) << "the fairy glows";
}

TEST_F(FrameTest, LookingUpShowsTheSkyThroughTheWellMouthAndRingsOnTheWay)
{
    app.switches.overlayEnabled = false;
    app.switches.freeCameraMode = true;
    app.simulation.freeCamera.position = glm::vec3(0.0f, 0.5f, 0.0f);
    app.simulation.freeCamera.pitch = 1.5f;
    frames(2);
    saveScreenshot("looking_up");
    const glm::vec3 mouth = meanColor(windowWidth / 2 - 8, windowHeight / 2 - 8, 16, 16);
    EXPECT_GT(mouth.b, 150.0f) << "sky or clouds above";
    const glm::vec3 edge = meanColor(0, 0, 16, 16);
    EXPECT_LT(edge.b, mouth.b) << "the wall frames the sky";
}

TEST_F(FrameTest, PassedRingIsGoneFromTheVeryFrameItIsPassedIn)
{
    frame(0.01f);
    app.simulation.state.fairyPosition = ringPositions[0] + glm::vec3(0.0f, 0.1f, 0.0f);
    UniformRecorder recorder;
    frame(0.02f);
    ASSERT_THAT(console.str(), testing::HasSubstr("Passed ring 1 (Total: 1)"));
    const auto matrices = uploadsOf(recorder, app.level->textureShader->handle(), "modelMatrix");
    EXPECT_FALSE(std::any_of(matrices.begin(), matrices.end(),
                             [](const UniformUpload& u) { return isTranslationTo(u, ringPositions[0]); }));
    EXPECT_TRUE(std::any_of(matrices.begin(), matrices.end(),
                            [](const UniformUpload& u) { return isTranslationTo(u, ringPositions[1]); }));
}

TEST_F(FrameTest, WaterTimeIsZeroWhileItsSwitchIsOffAndTheCloudsMoveOn)
{
    app.switches.waterAnimationEnabled = false;
    UniformRecorder recorder;
    frame(2.5f);
    const auto waterTimes = uploadsOf(recorder, app.level->waterShader->handle(), "time");
    const auto cloudTimes = uploadsOf(recorder, app.level->cloudShader->handle(), "time");
    ASSERT_EQ(waterTimes.size(), 1u);
    ASSERT_EQ(cloudTimes.size(), 1u);
    EXPECT_EQ(waterTimes[0].values[0], 0.0f);
    EXPECT_EQ(cloudTimes[0].values[0], 2.5f);

    app.switches.waterAnimationEnabled = true;
    recorder.clear();
    frame(2.75f);
    EXPECT_EQ(uploadsOf(recorder, app.level->waterShader->handle(), "time").at(0).values[0], 2.75f);
}

TEST_F(FrameTest, WaterNormalsViewFollowsTheSwitchFrameByFrame)
{
    UniformRecorder recorder;
    frame(0.1f);
    app.switches.renderer.normals = true;
    frame(0.2f);
    const auto values = uploadsOf(recorder, app.level->waterShader->handle(), "draw_normals");
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].values[0], 0.0f);
    EXPECT_EQ(values[1].values[0], 1.0f);
}

TEST_F(FrameTest, EachPassGetsItsCameraAndLights)
{
    UniformRecorder recorder;
    frame(0.1f);
    const std::vector<std::string> lightBlock{"dirL.color",        "dirL.direction",  "pointL.color",
                                              "pointL.position",   "pointL.attenuation", "fairyL.color",
                                              "fairyL.position",   "fairyL.attenuation"};
    std::vector<std::string> waterNames;
    for (const UniformUpload& upload : recorder.uploads()) {
        if (upload.program == app.level->waterShader->handle())
            waterNames.push_back(upload.name);
    }
    std::vector<std::string> expected{"viewProjMatrix", "modelMatrix", "normalMatrix", "time", "camera_world",
                                      "baseColor"};
    expected.insert(expected.end(), lightBlock.begin(), lightBlock.end());
    expected.insert(expected.end(), {"draw_normals", "modelMatrix", "normalMatrix", "materialCoefficients",
                                     "specularAlpha"});
    EXPECT_EQ(waterNames, expected);

    const auto wallLights = uploadsOf(recorder, app.level->wallShader->handle(), "dirLight.direction");
    ASSERT_EQ(wallLights.size(), 1u);
    EXPECT_NEAR(wallLights[0].values[1], -0.9205746f, 1e-6f);
    const auto fairyLight = uploadsOf(recorder, app.level->textureShader->handle(), "fairyL.position");
    ASSERT_FALSE(fairyLight.empty());
    const glm::vec3 fairy = app.simulation.state.fairyPosition;
    EXPECT_EQ(fairyLight.back().values, (std::vector<float>{fairy.x, fairy.y, fairy.z}));
}

TEST_F(FrameTest, CompositeSamplesThePingPongTargetWrittenLast)
{
    frame(0.1f);
    GLint active = 0, bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE1);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), app.renderTargets.pingpongTexture(0));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST) && !app.switches.overlayEnabled);
}

// F1 and the debug settings outline the scene's own triangles; the glow, the
// composite and the HUD still fill their pixels, so the outlines of the wall
// and the water show all over the window over the sky behind them.
TEST_F(FrameTest, WireframeOutlinesTheSceneAllOverTheWindow)
{
    app.switches.overlayEnabled = false;
    app.switches.renderer.wireframe = true;
    app.switches.renderer.backface_culling = true;
    frames(2);
    saveScreenshot("wireframe");
    const std::vector<unsigned char> pixels = screenshot();
    for (int quarter = 0; quarter < 4; ++quarter) {
        int drawn = 0, sky = 0;
        for (int y = (quarter / 2) * windowHeight / 2; y < (quarter / 2 + 1) * windowHeight / 2; ++y) {
            for (int x = (quarter % 2) * windowWidth / 2; x < (quarter % 2 + 1) * windowWidth / 2; ++x) {
                const unsigned char* p = &pixels[(static_cast<size_t>(y) * windowWidth + x) * 3];
                const int distance = std::abs(p[0] - 135) + std::abs(p[1] - 206) + std::abs(p[2] - 235);
                (distance > 40 ? drawn : sky) += 1;
            }
        }
        EXPECT_GT(drawn, windowWidth * windowHeight / 4 / 10) << "quarter " << quarter;
        EXPECT_GT(sky, windowWidth * windowHeight / 4 / 10) << "quarter " << quarter;
    }
}

// The HUD blends over the picture the same way whether or not the sparks,
// which turn blending off behind them, were drawn before it.
TEST_F(FrameTest, HudIsTranslucentWithTheTrailOnAndOff)
{
    for (bool trail : {true, false}) {
        app.switches.particlesEnabled = trail;
        app.switches.overlayEnabled = false;
        frames(3);
        const std::vector<unsigned char> under = readPixels(0, 0, windowWidth, windowHeight);
        app.level->overlay->drawOverlay(windowWidth, windowHeight, 100.0f);
        const std::vector<unsigned char> over = readPixels(0, 0, windowWidth, windowHeight);
        // A pixel inside the bar: the fill at 90% over the background at 80%
        // over the picture.
        const size_t at = (static_cast<size_t>(40) * windowWidth + windowWidth / 2) * 4;
        const glm::vec3 fill(0.4f, 0.8f, 1.0f);
        for (int c = 0; c < 3; ++c) {
            const float background = 0.8f * 0.2f * 255.0f + 0.2f * under[at + c];
            EXPECT_NEAR(over[at + c], 0.9f * 255.0f * fill[c] + 0.1f * background, 2.0f)
                << (trail ? "trail on" : "trail off") << ", channel " << c;
        }
    }
}

TEST_F(FrameTest, CloudLayerWritesNoDepth)
{
    // From above the well looking straight up only the cloud layer and the sky are in view.
    app.switches.freeCameraMode = true;
    app.simulation.freeCamera.position = glm::vec3(0.0f, 30.0f, 0.0f);
    app.simulation.freeCamera.pitch = 1.55f;
    frame(0.1f);
    glBindFramebuffer(GL_FRAMEBUFFER, app.renderTargets.sceneFramebuffer());
    float depth = 0.0f;
    glReadPixels(windowWidth / 2, windowHeight / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(depth, 1.0f);
}

TEST_F(FrameTest, ResizeRecreatesTheTargetsAndLeavesTheLightmapAlone)
{
    frame(0.1f);
    const GLuint lightmap = app.level->lightmap->texture();
    glfwSetWindowSize(window, 120, 90);
    onFramebufferSize(window, 120, 90);
    EXPECT_EQ(app.renderTargets.width(), 120);
    EXPECT_EQ(app.renderTargets.height(), 90);
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, app.renderTargets.brightColorTexture());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 120);
    EXPECT_EQ(app.level->lightmap->texture(), lightmap);
    glBindTexture(GL_TEXTURE_2D, lightmap);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 512);
}

TEST_F(FrameTest, MinimisedWindowSkipsDrawingButTheGameGoesOn)
{
    frame(0.1f);
    FrameInput input;
    input.clock = 0.3;
    input.cursor = app.simulation.lastCursor;
    const float power = app.simulation.state.fairyPower;
    const FrameResult result = runFrame(app, input, console);  // 0 by 0 framebuffer
    EXPECT_FALSE(result.drawn);
    EXPECT_NEAR(app.simulation.state.fairyPower, power - 4.0f, 1e-3f);
}

// A stall of seconds (a window drag, a stopped process) costs a quarter of a
// second of play, no more; the clock's precision holds after days.
TEST_F(FrameTest, AStallCostsAtMostAQuarterOfASecond)
{
    frame(0.1f);
    const float power = app.simulation.state.fairyPower;
    frame(5.1f);
    EXPECT_NEAR(app.simulation.state.fairyPower, power - 5.0f, 1e-3f);

    app.lastFrameTime = 86400.0 * 3;
    app.simulation.state.fairyPower = 100.0f;
    FrameInput input;
    input.clock = 86400.0 * 3 + 1.0 / 60.0;
    input.cursor = app.simulation.lastCursor;
    runFrame(app, input, console);
    EXPECT_NEAR(app.simulation.state.fairyPower, 100.0f - 20.0f / 60.0f, 1e-4f);
}
