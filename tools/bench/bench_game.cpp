#include "bench_game.h"

#include "clock.h"
#include "route.h"

#include "app/startup.h"
#include "game/power.h"
#include "scene/frame_passes.h"
#include "scene/level.h"

#include <iostream>
#include <GLFW/glfw3.h>

int CountingSink::overflow(int character)
{
    if (character != traits_type::eof())
        ++bytes;
    return traits_type::not_eof(character);
}

std::streamsize CountingSink::xsputn(const char*, std::streamsize count)
{
    bytes += count;
    return count;
}

BenchGame::BenchGame(int width, int height) : console_(&sink_), width_(width), height_(height) {}

BenchGame::~BenchGame()
{
    if (!started_)
        return;
    releaseRendering(app_);
    // No glfwTerminate: the process ends next, and terminating would unload
    // the GL driver before a sanitizer build's leak check could recognise
    // the driver's own blocks.
}

StartupTimes BenchGame::start()
{
    StartupTimes times = openGameWindow();
    times.buildLevel = timeMilliseconds(
        [&] { app_.level = buildLevel(app_.renderTargets.width(), app_.renderTargets.height()); });
    times.afterBuild = timeMilliseconds([&] {
        settleCapturedCursor(app_);
        app_.simulation = makeSimulation(app_.settings.camera, app_.startCursor);
        app_.lastFrameTime = 0.0f;
    });
    times.firstFrame = timeMilliseconds([&] { frame(); });
    times.firstFrameShownNs = nowNanoseconds();
    return times;
}

StartupTimes BenchGame::openGameWindow()
{
    StartupTimes times;
    times.settings = timeMilliseconds([&] { app_.settings = loadSettings(CommandLineOptions{}, std::cout); });
    // The size under test replaces the file's; the bench always runs windowed.
    app_.settings.window.width = width_;
    app_.settings.window.height = height_;
    app_.settings.window.fullscreen = false;
    app_.switches = initialSwitches(app_.settings);

    times.window = timeMilliseconds([&] {
        times.openWindow = timeMilliseconds([&] { openMainWindow(app_); });
        started_ = true;
        prepareRendering(app_);
    });
    return times;
}

FrameInput BenchGame::nextInput()
{
    int framebufferWidth = 0, framebufferHeight = 0;
    glfwGetFramebufferSize(app_.window, &framebufferWidth, &framebufferHeight);
    // The route never ends: the power is kept full so the fairy never falls.
    app_.simulation.state.fairyPower = maxFairyPower;
    return routeInput(nextFrame_++, app_.startCursor, framebufferWidth, framebufferHeight);
}

void BenchGame::frame()
{
    glfwPollEvents();
    runFrame(app_, nextInput(), console_);
    glfwSwapBuffers(app_.window);
}

void BenchGame::timedFrame(PassTimer& timer)
{
    glfwPollEvents();
    const FrameInput input = nextInput();

    const FrameParameters frame = updateFrame(app_, input, console_).parameters;
    Level& level = *app_.level;

    // drawFrame's steps, each group inside its own section.
    const RenderTargets& targets = app_.renderTargets;
    timer.beginFrame();
    timer.beginSection(scenePasses);
    drawScenePasses(level, targets, app_.simulation.state.ringPassed, frame);
    timer.endSection(scenePasses);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    timer.beginSection(blurPasses);
    const int blurred = level.bloom->blur(targets);
    timer.endSection(blurPasses);
    timer.beginSection(compositePass);
    level.bloom->composite(targets, blurred);
    timer.endSection(compositePass);
    timer.beginSection(overlayPass);
    if (frame.overlayEnabled)
        level.overlay->drawOverlay(frame.framebufferWidth, frame.framebufferHeight, frame.fairyPower);
    timer.endSection(overlayPass);
    glfwSwapBuffers(app_.window);
}
