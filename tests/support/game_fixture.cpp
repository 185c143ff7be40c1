#include "game_fixture.h"

#include "test_paths.h"

#include "app/startup.h"
#include "framework/console.h"
#include "framework/framework.h"

#include <filesystem>
#include <utility>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

GameFixture::GameFixture()
{
    windowWidth = 320;
    windowHeight = 240;
}

void GameFixture::SetUp()
{
    GlTest::SetUp();
    if (HasFatalFailure())
        return;
    app.window = window;
    glfwSetWindowUserPointer(window, &app);
    app.settings.window.width = windowWidth;
    app.settings.window.height = windowHeight;
    app.switches = initialSwitches(app.settings);
    app.switches.isFullscreen = false;
    applyInitialRenderState(app.settings.renderer);
    app.renderTargets.create(windowWidth, windowHeight);
    const CapturedConsole quiet;  // the loaders' "Read shader" lines
    ASSERT_TRUE(initFramework(true));
    app.level = buildLevel(app.course, app.renderTargets.width(), app.renderTargets.height());
    app.simulation = makeSimulation(app.settings.camera, CursorPosition{}, app.course);
    app.particles.seed(7);
}

void GameFixture::TearDown()
{
    releaseRendering(app);
    GlTest::TearDown();
}

SimulationStep GameFixture::frame(double at, const HeldKeys& keys, FrameObserver* observer)
{
    clock = at;
    FrameInput input;
    input.events = std::exchange(app.pendingEvents, WindowEvents{});
    input.clock = at;
    input.keys = keys;
    input.cursor = app.simulation.lastCursor;
    glfwGetFramebufferSize(window, &input.framebufferWidth, &input.framebufferHeight);
    return runFrame(app, input, console, observer);
}

void GameFixture::frames(int count, double framesPerSecond, const HeldKeys& keys)
{
    for (int i = 0; i < count; ++i)
        frame(clock + 1.0 / framesPerSecond, keys);
}

std::vector<unsigned char> GameFixture::screenshot() const
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    const std::vector<unsigned char> rgba = readPixels(0, 0, windowWidth, windowHeight);
    // GL reads bottom row first; images start at the top.
    std::vector<unsigned char> rows(static_cast<size_t>(windowWidth) * windowHeight * 3);
    for (int y = 0; y < windowHeight; ++y) {
        for (int x = 0; x < windowWidth; ++x) {
            const size_t from = (static_cast<size_t>(windowHeight - 1 - y) * windowWidth + x) * 4;
            const size_t to = (static_cast<size_t>(y) * windowWidth + x) * 3;
            std::copy_n(&rgba[from], 3, &rows[to]);
        }
    }
    return rows;
}

void GameFixture::saveScreenshot(const std::string& name) const
{
    const std::filesystem::path dir = std::filesystem::path(binaryDir()) / "screenshots";
    std::filesystem::create_directories(dir);
    const std::vector<unsigned char> pixels = screenshot();
    stbi_write_png((dir / (name + ".png")).c_str(), windowWidth, windowHeight, 3, pixels.data(), windowWidth * 3);
}

glm::vec3 GameFixture::meanColor(int x, int y, int width, int height) const
{
    const std::vector<unsigned char> pixels = screenshot();
    glm::vec3 sum(0.0f);
    for (int row = y; row < y + height; ++row) {
        for (int column = x; column < x + width; ++column) {
            const size_t at = (static_cast<size_t>(row) * windowWidth + column) * 3;
            sum += glm::vec3(pixels[at], pixels[at + 1], pixels[at + 2]);
        }
    }
    return sum / static_cast<float>(width * height);
}
