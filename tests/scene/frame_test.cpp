// Frames of the real level drawn through runFrame with scripted input: what
// they show, what each switch changes, where the GL calls happen, and what a
// steady frame costs.
#include "allocation_counter.h"
#include "gl_calls.h"
#include "support/game_fixture.h"
#include "support/gl_object_census.h"
#include "support/test_paths.h"

#include "app/callbacks.h"
#include "app/startup.h"
#include "framework/console.h"
#include "framework/obj_mesh.h"
#include "game/course.h"
#include "scene/bloom.h"
#include "scene/level.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gmock/gmock.h>

#include <algorithm>
#include <optional>

namespace {

GLuint programOf(Shader& shader)
{
    shader.use();
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return static_cast<GLuint>(program);
}

// Counts the GL calls made before drawFrame's first pass begins.
class FirstPassWatcher : public FrameObserver {
public:
    explicit FirstPassWatcher(const GlCallRecorder& recorder) : recorder_(recorder) {}
    void passBegins(FramePass pass) override
    {
        if (pass == FramePass::scene)
            callsBeforeDrawing = recorder_.counts().calls;
    }
    void passEnds(FramePass) override {}

    std::int64_t callsBeforeDrawing = -1;

private:
    const GlCallRecorder& recorder_;
};

using FrameTest = GameFixture;
using RenderTargetsTest = GlTest;

}  // namespace

TEST_F(FrameTest, TheFirstSecondShowsTheLitWallTheWaterAndTheGlowingFairy)
{
    frames(30, 30.0);
    saveScreenshot("first_second");
    // The follow camera looks over the fairy resting on the water: the wall
    // fills the top, the water the bottom, the fairy glows in the middle.
    const glm::vec3 wall = meanColor(0, 0, windowWidth, windowHeight / 4);
    const glm::vec3 water = meanColor(windowWidth / 4, windowHeight * 3 / 4, windowWidth / 2, windowHeight / 4);
    EXPECT_GT(wall.r + wall.g + wall.b, 150.0f) << "the wall is lit";
    EXPECT_GT(water.b, water.r + 10.0f) << "the water is blue";
    glm::vec3 fairy(0.0f);
    for (int y = windowHeight / 2; y < windowHeight * 3 / 4; y += 2) {
        const glm::vec3 block = meanColor(windowWidth / 2 - 4, y, 8, 8);
        if (block.r + block.g + block.b > fairy.r + fairy.g + fairy.b)
            fairy = block;
    }
    EXPECT_GT(std::min({fairy.r, fairy.g, fairy.b}), 180.0f) << "the fairy glows";
    const glm::vec3 flagUp = glm::normalize(glm::vec3(app.level->flag->getModelMatrix() * glm::vec4(0, 1, 0, 0)));
    EXPECT_GT(flagUp.y, 0.99999f) << "the flag above the rim stands upright";
    // Its pole's foot stands in the small cloud's upper half.
    const auto heights = [](const char* file, const glm::mat4& placed) {
        const ObjMesh mesh = loadObjMesh(sourceDir() + "/assets/objects/" + file);
        glm::vec2 range(1e30f, -1e30f);
        for (size_t v = 0; v < mesh.vertices.size(); v += 6) {
            const float y = (placed * glm::vec4(mesh.vertices[v], mesh.vertices[v + 1], mesh.vertices[v + 2], 1)).y;
            range = {std::min(range.x, y), std::max(range.y, y)};
        }
        return range;
    };
    const glm::vec2 flag = heights("flag.obj", app.level->flag->getModelMatrix());
    const glm::vec2 cloud = heights("cloud.obj", app.level->cloudModel->getModelMatrix());
    EXPECT_LT(flag.x, cloud.y);
    EXPECT_GT(flag.x, 0.5f * (cloud.x + cloud.y));
}

// The cloud layer high above the mouth writes no depth: nothing in the
// middle of the picture is nearer than the far plane.
TEST_F(FrameTest, LookingUpShowsTheSkyThroughTheWellMouthAndTheCloudsWriteNoDepth)
{
    app.switches.overlayEnabled = false;
    app.simulation.freeCameraMode = true;
    app.simulation.freeCamera.position = glm::vec3(0.0f, 0.5f, 0.0f);
    app.simulation.freeCamera.pitch = 1.5f;
    frames(2);
    saveScreenshot("looking_up");
    const glm::vec3 mouth = meanColor(windowWidth / 2 - 8, windowHeight / 2 - 8, 16, 16);
    EXPECT_GT(mouth.b, 150.0f) << "sky or clouds above";
    EXPECT_LT(meanColor(0, 0, 16, 16).b, mouth.b) << "the wall frames the sky";
    glBindFramebuffer(GL_FRAMEBUFFER, app.renderTargets.sceneFramebuffer());
    float depth = 0.0f;
    glReadPixels(windowWidth / 2, windowHeight / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(depth, 1.0f);
}

// Every GL call of a frame happens in drawFrame's passes; the texture
// program gets the camera once a frame and lights each object through the
// normal matrix of its own model matrix (the turned flag, cloud and wings
// too); every ring is drawn until the frame that passes it. The water's
// time stops with its switch while the clouds move on, and its normals view
// follows N frame by frame.
TEST_F(FrameTest, AFramesGlCallsHappenInItsPassesWithEachObjectsOwnMatricesAndItsSwitches)
{
    GlCallRecorder recorder(true);
    const GLuint textureProgram = programOf(*app.level->textureShader);
    const auto drawnAt = [&](const glm::vec3& at) {
        const auto matrices = recorder.uniforms(textureProgram, "modelMatrix");
        return std::any_of(matrices.begin(), matrices.end(), [&at](const UniformUpload& u) {
            return u.values.size() == 16 && glm::vec3(u.values[12], u.values[13], u.values[14]) == at;
        });
    };
    app.switches.waterAnimationEnabled = false;
    frame(0.5);
    EXPECT_TRUE(drawnAt(app.course.rings[0]));
    std::optional<glm::mat4> model;
    glm::mat3 normal(1.0f);
    int objects = 0;
    const auto drawnWithItsOwn = [&] {
        if (model) {
            ++objects;
            EXPECT_EQ(normal, normalMatrixOf(*model)) << "object " << objects;
        }
    };
    for (const UniformUpload& upload : recorder.uniforms()) {
        if (upload.program == textureProgram && upload.name == "modelMatrix") {
            drawnWithItsOwn();
            model = glm::make_mat4(upload.values.data());
        } else if (upload.program == textureProgram && upload.name == "normalMatrix") {
            normal = glm::make_mat3(upload.values.data());
        }
    }
    drawnWithItsOwn();
    EXPECT_EQ(objects, static_cast<int>(app.course.rings.size()) + 4) << "the rings, the fairy, its wings, the flag and the cloud";

    const auto sent = [&recorder](Shader& shader, const char* name) {
        std::vector<float> values;
        for (const UniformUpload& upload : recorder.uniforms(programOf(shader), name))
            values.push_back(upload.values.at(0));
        return values;
    };
    app.switches.waterAnimationEnabled = true;
    app.switches.normals = true;
    frame(0.75);
    EXPECT_EQ(sent(*app.level->waterShader, "time"), (std::vector<float>{0.0f, 0.75f}));
    EXPECT_EQ(sent(*app.level->waterShader, "draw_normals"), (std::vector<float>{0.0f, 1.0f}));
    EXPECT_EQ(sent(*app.level->cloudShader, "time"), (std::vector<float>{0.5f, 0.75f}));

    app.simulation.state.fairyPosition = app.course.rings[0] + glm::vec3(0.0f, 0.1f, 0.0f);
    recorder.clear();
    FirstPassWatcher watcher(recorder);
    frame(0.76, {}, &watcher);
    EXPECT_EQ(watcher.callsBeforeDrawing, 0);
    ASSERT_THAT(console.str(), testing::HasSubstr("Passed ring 1 (Total: 1)"));
    EXPECT_EQ(recorder.uniforms(textureProgram, "viewProjMatrix").size(), 1u);
    EXPECT_FALSE(drawnAt(app.course.rings[0]));
    EXPECT_TRUE(drawnAt(app.course.rings[1]));
}

// A small, very bright square in the glow target spreads as wide a halo on
// the screen through blur targets of half or a quarter of the window's size,
// and at a render scale below 1, as through full ones; at that scale one
// scene texel shows as a sharp block of the window's pixels. A resize remakes
// the targets at the new size, each at its fraction, and leaves the lightmap alone.
TEST_F(FrameTest, TheGlowKeepsItsSizeAtEveryBloomResolutionAndTheTargetsFollowAResize)
{
    const GLuint lightmap = app.level->lightmap->texture();
    struct Picture {
        int haloWidth = 0;
        int texelPixels = 0;  // window pixels showing the one red scene texel
    };
    const auto draw = [&](BloomResolution bloom, double scale) {
        app.settings.renderer.bloom_resolution = bloom;
        app.settings.renderer.render_scale = scale;
        onFramebufferSize(window, windowWidth, windowHeight);
        const RenderTargets& targets = app.renderTargets;
        const int centreX = targets.sceneWidth() / 2, centreY = targets.sceneHeight() / 2;
        const int side = std::max(1, static_cast<int>(4 * scale));
        glBindFramebuffer(GL_FRAMEBUFFER, targets.sceneFramebuffer());
        const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f}, bright[4] = {300.0f, 300.0f, 300.0f, 1.0f};
        const float red[4] = {0.5f, 0.0f, 0.0f, 1.0f};
        glClearBufferfv(GL_COLOR, 0, black);
        glClearBufferfv(GL_COLOR, 1, black);
        glEnable(GL_SCISSOR_TEST);
        glScissor(centreX - side / 2, centreY - side / 2, side, side);
        glClearBufferfv(GL_COLOR, 1, bright);
        glScissor(centreX / 2, centreY / 2, 1, 1);
        glClearBufferfv(GL_COLOR, 0, red);
        glDisable(GL_SCISSOR_TEST);
        for (int i = 0; i < Bloom::blurIterations; ++i)
            app.level->bloom->blurPass(targets, i);
        app.level->bloom->composite(targets);
        const std::vector<unsigned char> pixels = screenshot();
        Picture picture;
        const unsigned char* row = &pixels[static_cast<size_t>(windowHeight / 2 * windowWidth * 3)];
        for (int x = 0; x < windowWidth; ++x)
            picture.haloWidth += row[x * 3] + row[x * 3 + 1] + row[x * 3 + 2] > 70 ? 1 : 0;
        for (size_t i = 0; i < pixels.size(); i += 3)
            picture.texelPixels += pixels[i] > 0 && pixels[i + 1] == 0 ? 1 : 0;
        return picture;
    };
    const auto sizeOf = [](GLuint texture) {
        glm::ivec2 size(0);
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size.x);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size.y);
        return size;
    };
    const int full = draw(BloomResolution::full, 1.0).haloWidth;
    EXPECT_GT(full, 8);
    for (const auto& [bloom, scale] : {std::pair{BloomResolution::full, 1.0}, {BloomResolution::half, 1.0},
                                       {BloomResolution::quarter, 1.0}, {BloomResolution::full, 0.5},
                                       {BloomResolution::half, 0.5}}) {
        const int divisor = static_cast<int>(bloom), block = static_cast<int>(1 / scale);
        SCOPED_TRACE(std::to_string(divisor) + " at " + std::to_string(scale));
        const Picture picture = draw(bloom, scale);
        // A quarter's upsampling widens the halo a little; half keeps it.
        EXPECT_NEAR(picture.haloWidth, full, full * divisor * block / 8);
        EXPECT_EQ(picture.texelPixels, block * block);
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], windowWidth) << "the composite draws the whole window";

        onFramebufferSize(window, 120, 80);
        EXPECT_EQ(sizeOf(app.renderTargets.pingpongTexture(0)), glm::ivec2(120, 80) / block / divisor);
        EXPECT_EQ(sizeOf(app.renderTargets.brightColorTexture()), glm::ivec2(120, 80) / block);
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[3], 80);
        onFramebufferSize(window, windowWidth, windowHeight);
    }
    EXPECT_EQ(app.level->lightmap->texture(), lightmap);
    EXPECT_EQ(sizeOf(lightmap), glm::ivec2(512));

    // The level at half the scale: the same picture over the whole window, in coarser pixels.
    const auto levelAt = [&](double scale) {
        app.settings.renderer.render_scale = scale;
        onFramebufferSize(window, windowWidth, windowHeight);
        frame(0.5);
        return screenshot();
    };
    const std::vector<unsigned char> sharp = levelAt(1.0), coarse = levelAt(0.5);
    double difference = 0.0;
    for (size_t i = 0; i < sharp.size(); ++i)
        difference += std::abs(sharp[i] - coarse[i]);
    EXPECT_LT(difference / static_cast<double>(sharp.size()), 4.0);
}

// A target the driver refuses, here one larger than GL can hold, is told
// in one line each for the scene and the glow; a minimised window's empty
// targets, and targets of a drawable size, get no line.
TEST_F(RenderTargetsTest, ARefusedTargetGetsOneLineAndTheOthersNone)
{
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    RenderTargets targets;
    const struct {
        int width;
        std::string lines;
    } cases[] = {
        {0, ""},
        {largest + 1, "Framebuffer 'scene' is incomplete (0x8CD6): the level is not drawn.\n"
                      "Framebuffer 'bloom' is incomplete (0x8CD6): the glow is not drawn.\n"},
        {64, ""},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        targets.create(c.width, c.width > 0 ? 1 : 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.lines) << c.width;
    }
    debugMessages().clear();  // the driver's own refusal
}

// A minimised window draws nothing while the game goes on; a stall of
// seconds (a window drag, a stopped process) costs a quarter of a second.
TEST_F(FrameTest, AMinimisedWindowSkipsDrawingAndAStallCostsAQuarterSecond)
{
    frame(0.1);
    FrameInput input;
    input.clock = 0.3;
    input.cursor = app.simulation.lastCursor;
    const float power = app.simulation.state.fairyPower;
    GlCallRecorder recorder;
    for (const auto& [width, height] : {std::pair{0, 0}, {0, windowHeight}, {windowWidth, 0}}) {
        input.framebufferWidth = width;
        input.framebufferHeight = height;
        runFrame(app, input, console);
    }
    EXPECT_EQ(recorder.counts().calls, 0) << "nothing drawn";
    EXPECT_NEAR(app.simulation.state.fairyPower, power - 4.0f, 1e-3f);
    frame(5.3);
    EXPECT_NEAR(app.simulation.state.fairyPower, power - 9.0f, 1e-3f);
}

// The best run's ghost costs one draw more than the frame without it. It is
// see-through: where it flies in front of the fairy, the fairy shows through
// it, far more than where nothing bright is behind it.
TEST_F(FrameTest, TheGhostIsSeeThroughAndCostsOneDraw)
{
    {
        const CapturedConsole quiet;  // its "Read shader" lines
        addGhost(*app.level);
    }
    frames(30, 30.0);
    FrameParameters frame;
    frame.view = app.simulation.view;
    frame.game = &app.simulation.state;
    frame.time = static_cast<float>(clock);
    frame.overlayEnabled = false;
    const glm::vec3 fairy = app.simulation.state.fairyPosition, eye = frame.view.eye;
    const glm::vec4 clip = frame.view.viewProjection * glm::vec4(fairy, 1.0f);
    const int x = static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * windowWidth);
    const int y = static_cast<int>((0.5f - clip.y / clip.w * 0.5f) * windowHeight);
    const auto seen = [&](std::optional<glm::vec3> ghost, const glm::vec3& body) {
        app.level->fairyBody->resetModelMatrix();
        app.level->fairyBody->transform(glm::translate(glm::mat4(1.0f), body));
        frame.ghost = ghost;
        GlCallRecorder recorder;
        drawFrame(*app.level, app.renderTargets, frame);
        return std::pair{meanColor(x - 1, y - 1, 3, 3), recorder.counts().drawCalls};
    };
    const glm::vec3 ghost = eye + 0.5f * (fairy - eye), behindTheEye = eye - 10.0f * (fairy - eye);
    const auto [fairyAlone, draws] = seen(std::nullopt, fairy);
    const auto [ghostOverFairy, ghostDraws] = seen(ghost, fairy);
    const glm::vec3 background = seen(std::nullopt, behindTheEye).first;
    const glm::vec3 ghostAlone = seen(ghost, behindTheEye).first;
    EXPECT_EQ(ghostDraws, draws + 1);
    ASSERT_GT(glm::length(fairyAlone - background), 60.0f) << "the fairy is there to see through the ghost";
    EXPECT_GT(glm::length(ghostAlone - background), 10.0f) << "the ghost is drawn";
    EXPECT_GT(glm::length(ghostOverFairy - ghostAlone), 0.5f * glm::length(fairyAlone - background));
}

// After the first frames have filled the caches, frames allocate nothing,
// create no GL object and ask for no location, whatever the switches say,
// whichever menu shows, also with a ghost following the run; tearing the
// game down leaves no GL object at all.
TEST_F(FrameTest, SteadyFramesCostNothingAndTeardownLeavesNothing)
{
    Replay still;
    still.header = {"test", app.settings.camera, 1, app.simulation.lastCursor, std::nullopt};
    still.frames.assign(600, ReplayFrame{1.0f / 60.0f, {}, app.simulation.lastCursor, 80, 60, {}});
    {
        const CapturedConsole quiet;  // its "Read shader" lines
        addGhost(*app.level);
    }
    app.ghost.emplace(still, app.course);
    app.menu.courses = {{"classic", std::nullopt}, {"a_course_with_a_long_name", 12.5}};
    app.menu.course = 1;
    const auto playWithTheSwitches = [this] {
        for (int i = 0; i < 10; ++i) {
            app.switches.ghostShown = i % 2 == 1;
            app.switches.particlesEnabled = i % 2 == 0;
            app.switches.overlayEnabled = i % 3 == 0;
            app.simulation.freeCameraMode = i % 5 == 0;
            app.switches.wireframe = i % 4 == 0;
            app.menu.screen = static_cast<MenuScreen>(i % 5);
            frames(3);
        }
    };
    playWithTheSwitches();  // the first round lets the driver compile what each state needs
    const GlObjectCensus before = countLiveGlObjects();
    GlCallRecorder recorder;
    AllocationCounter allocations;
    playWithTheSwitches();
    EXPECT_EQ(allocations.count(), 0);
    EXPECT_EQ(recorder.counts().objectsCreated, 0);
    EXPECT_EQ(recorder.counts().locationQueries, 0);
    EXPECT_EQ(countLiveGlObjects(), before);
    EXPECT_EQ(console.str(), "") << "no game event in these frames";

    releaseRendering(app);
    EXPECT_EQ(countLiveGlObjects(), GlObjectCensus{});
}
