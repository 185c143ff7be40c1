#include "bench_game.h"

#include "clock.h"
#include "route.h"

#include "app/startup.h"
#include "game/power.h"
#include "scene/bloom.h"
#include "scene/frame_passes.h"

#include <iostream>
#include <optional>
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
    times.buildLevel = timeMilliseconds([&] {
        const VertexSourceLog::Listen listening(sources_);
        app_.level = buildLevel(app_.renderTargets.width(), app_.renderTargets.height());
    });
    times.afterBuild = timeMilliseconds([&] {
        settleCapturedCursor(app_);
        app_.simulation = makeSimulation(app_.settings.camera, app_.startCursor);
        app_.lastFrameTime = 0.0f;
    });
    times.firstFrame = timeMilliseconds([&] { frame(); });
    times.firstFrameShownNs = nowNanoseconds();
    times.secondFrame = timeMilliseconds([&] { frame(); });
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

namespace {

// Times drawFrame's own passes, grouped as the table shows them: the scene,
// the five horizontal and the five vertical blur passes, the composite and
// the HUD. With constant programs, the scene draws with them.
class PassTimingObserver : public FrameObserver {
public:
    PassTimingObserver(PassTimer& timer, ConstantPrograms* constantScene)
        : timer_(timer), constantScene_(constantScene)
    {
    }

    void passBegins(FramePass pass) override
    {
        if (pass == FramePass::scene) {
            timer_.beginFrame();
            if (constantScene_)
                swap_.emplace(*constantScene_);
        }
        timer_.beginPiece(section(pass));
    }

    void passEnds(FramePass pass) override
    {
        timer_.endPiece();
        if (pass == FramePass::scene)
            swap_.reset();
    }

private:
    static int section(FramePass pass)
    {
        switch (pass) {
        case FramePass::scene: return scenePasses;
        case FramePass::blurHorizontal: return blurHorizontalPasses;
        case FramePass::blurVertical: return blurVerticalPasses;
        case FramePass::composite: return compositePass;
        case FramePass::hud: return hudPass;
        }
        return scenePasses;
    }

    PassTimer& timer_;
    ConstantPrograms* constantScene_;
    std::optional<ConstantPrograms::Swap> swap_;
};

}  // namespace

void BenchGame::timedFrame(PassTimer& timer, ConstantPrograms* constantScene)
{
    glfwPollEvents();
    PassTimingObserver observer(timer, constantScene);
    runFrame(app_, nextInput(), console_, &observer);
    glfwSwapBuffers(app_.window);
}
