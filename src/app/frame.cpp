#include "frame.h"

#include "player_menu.h"
#include "window_mode.h"

#include <GLFW/glfw3.h>

namespace {

void report(const SimulationStep& step, std::ostream& console)
{
    if (step.messages.empty())
        return;
    for (const std::string& message : step.messages)
        console << message;
    console.flush();  // players and scripts watch for these while the game runs
}

// An option the player changed, applied where the window and GL hold it
// and saved to the player's own settings.
void applyOptionInWindow(App& app, MenuItem option, std::ostream& console)
{
    if (option == MenuItem::vsync)
        glfwSwapInterval(app.settings.window.vsync ? 1 : 0);
    if (option == MenuItem::glowQuality)
        app.renderTargets.create(app.renderTargets.width(), app.renderTargets.height(),
                                 app.settings.renderer.bloom_resolution);
    if (app.saveOptions)
        saveOption(app, option, playerSettingsFolder(), console);
}

// The window after the frame's switches: closed on Escape (in player mode
// on "Quit"), on or off its monitor as isFullscreen says, the cursor
// captured unless paused or a menu shows.
void followInWindow(App& app, const WindowEvents& events, const MenuChoice& choice)
{
    if ((!app.playerMode && events.released(GLFW_KEY_ESCAPE)) || choice.request == MenuRequest::quit)
        glfwSetWindowShouldClose(app.window, GLFW_TRUE);
    if (app.switches.isFullscreen != isOnMonitor(app.window)) {
        if (app.switches.isFullscreen)
            enterFullscreen(app.window);
        else
            leaveFullscreen(app.window, app.settings.window.width, app.settings.window.height);
        // Without a usable monitor the window stays as it was; the switch
        // must say so, or the next F3 would go the wrong way.
        app.switches.isFullscreen = isOnMonitor(app.window);
    }
    const bool cursorFree = app.switches.paused || app.menu.screen != MenuScreen::none;
    const int cursorMode = cursorFree ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_DISABLED;
    if (glfwGetInputMode(app.window, GLFW_CURSOR) != cursorMode)
        glfwSetInputMode(app.window, GLFW_CURSOR, cursorMode);
}

FrameParameters frameParameters(const App& app, const FrameInput& input, const SimulationStep& step)
{
    const Switches& switches = app.switches;
    FrameParameters frame;
    frame.view = step.view;
    frame.fairy = step.fairy;
    frame.game = &app.simulation.state;
    frame.particles = switches.particlesEnabled ? &app.particles : nullptr;
    frame.time = static_cast<float>(input.clock);
    frame.waterAnimationEnabled = switches.waterAnimationEnabled;
    frame.drawNormals = switches.normals;
    frame.overlayEnabled = switches.overlayEnabled;
    frame.hud = HudStatus{app.simulation.state.totalPassed, app.simulation.runTime, app.hudMessage,
                          switches.paused, app.runEnd, static_cast<int>(app.simulation.course.rings.size())};
    frame.powerShare = app.simulation.state.fairyPower / app.simulation.course.fullPower;
    frame.wireframe = switches.wireframe;
    frame.backfaceCulling = switches.backfaceCulling;
    frame.menu = app.menu.screen != MenuScreen::none ? &app.menu : nullptr;
    if (app.ghost && switches.ghostShown)
        frame.ghost = app.ghost->position();
    return frame;
}

}  // namespace

SimulationStep runFrame(App& app, const FrameInput& input, std::ostream& console, FrameObserver* observer)
{
    const SimulationStep step = stepGame(app, input);
    report(step, console);
    if (app.window) {
        if (step.menu.request == MenuRequest::optionChanged)
            applyOptionInWindow(app, step.menu.option, console);
        followInWindow(app, input.events, step.menu);
    }
    // A minimised window has no pixels to draw; the game and its clock go on.
    if (app.level && input.framebufferWidth > 0 && input.framebufferHeight > 0)
        drawFrame(*app.level, app.renderTargets, frameParameters(app, input, step), observer);
    return step;
}
