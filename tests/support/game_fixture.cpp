#include "game_fixture.h"

#include "test_paths.h"

#include "app/startup.h"
#include "framework/framework.h"

#include <filesystem>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

GameFixture::GameFixture()
{
    windowWidth = 320;
    windowHeight = 240;
}

void GameFixture::SetUp()
{
    // Models are read from assets/objects under the working directory.
    std::filesystem::current_path(sourceDir());
    GlTest::SetUp();
    if (HasFatalFailure())
        return;
    app.window = window;
    glfwSetWindowUserPointer(window, &app);
    app.settings.window.width = windowWidth;
    app.settings.window.height = windowHeight;
    app.switches = initialSwitches(app.settings);
    app.switches.isFullscreen = false;
    applyInitialRenderState(app.switches.renderer);
    app.renderTargets.create(windowWidth, windowHeight);
    testing::internal::CaptureStdout();  // the loaders' "Read shader" lines
    ASSERT_TRUE(initFramework());
    app.level = buildLevel(app.renderTargets.width(), app.renderTargets.height());
    testing::internal::GetCapturedStdout();
    app.simulation = makeSimulation(app.settings.camera, CursorPosition{});
    app.lastFrameTime = 0.0f;
}

void GameFixture::TearDown()
{
    releaseRendering(app);
    GlTest::TearDown();
}

FrameResult GameFixture::frame(float at, const HeldKeys& keys)
{
    clock = at;
    FrameInput input;
    input.clock = at;
    input.keys = keys;
    input.cursor = app.simulation.lastCursor;
    glfwGetFramebufferSize(window, &input.framebufferWidth, &input.framebufferHeight);
    return runFrame(app, input, console);
}

void GameFixture::frames(int count, float framesPerSecond, const HeldKeys& keys)
{
    for (int i = 0; i < count; ++i)
        frame(clock + 1.0f / framesPerSecond, keys);
}

std::vector<unsigned char> GameFixture::screenshot() const
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    std::vector<unsigned char> rows(static_cast<size_t>(windowWidth) * windowHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    // GL reads bottom row first; images start at the top.
    std::vector<unsigned char> flipped(rows.size());
    const size_t stride = static_cast<size_t>(windowWidth) * 3;
    for (int y = 0; y < windowHeight; ++y)
        std::copy_n(&rows[(windowHeight - 1 - y) * stride], stride, &flipped[y * stride]);
    return flipped;
}

std::string GameFixture::saveScreenshot(const std::string& name) const
{
    const std::filesystem::path dir = std::filesystem::path(binaryDir()) / "screenshots";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / (name + ".png")).string();
    const std::vector<unsigned char> pixels = screenshot();
    stbi_write_png(path.c_str(), windowWidth, windowHeight, 3, pixels.data(), windowWidth * 3);
    return path;
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
