#include "shortcuts.h"

#include "app.h"
#include "key_actions.h"
#include "window_mode.h"

#include <GLFW/glfw3.h>

namespace {

// A paused game gives the cursor back; a running one captures it.
void captureCursor(App& app)
{
    if (app.window)
        glfwSetInputMode(app.window, GLFW_CURSOR, app.switches.paused ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_DISABLED);
}

void pauseSwitched(App& app, std::ostream& console)
{
    console << (app.switches.paused ? "Paused" : "Resumed") << std::endl;
    // The cursor moved while paused, and capturing it moves it again: the
    // first frame after a pause turns nothing.
    app.cursorSettling = true;
    captureCursor(app);
}

void restart(App& app, std::ostream& console)
{
    app.simulation = makeSimulation(app.settings.camera, app.simulation.lastCursor);
    app.runEnd = RunEnd::none;
    app.hudMessage = HudMessage{};
    app.particles.clear();
    console << "Restarted" << std::endl;
}

void applyKey(App& app, int key, std::ostream& console)
{
    const KeyAction action = applyKeyRelease(key, app.switches);
    // Without a window (a tool stepping the game) only the run itself changes.
    if (!app.window && (action == KeyAction::Quit || action == KeyAction::ApplyWindowMode))
        return;
    switch (action) {
    case KeyAction::None:
        break;
    case KeyAction::Quit:
        glfwSetWindowShouldClose(app.window, GLFW_TRUE);
        break;
    case KeyAction::ApplyWindowMode:
        if (app.switches.isFullscreen)
            enterFullscreen(app.window);
        else
            leaveFullscreen(app.window, app.settings.window.width, app.settings.window.height);
        // Without a usable monitor the window stays as it was; the switch
        // must say so, or the next F3 would go the wrong way.
        app.switches.isFullscreen = isOnMonitor(app.window);
        break;
    case KeyAction::CameraSwitched:
        captureCursor(app);
        if (app.switches.freeCameraMode)
            app.simulation.freeCamera.firstMouse = true;  // its first frame must not jump
        break;
    case KeyAction::PauseSwitched:
        pauseSwitched(app, console);
        break;
    case KeyAction::Restart:
        restart(app, console);
        break;
    }
}

}  // namespace

void applyWindowEvents(App& app, const WindowEvents& events, std::ostream& console)
{
    for (int i = 0; i < events.keyReleaseCount; ++i)
        applyKey(app, events.keyReleases[i], console);
    if (events.focusLost && !app.switches.paused) {
        app.switches.paused = true;
        pauseSwitched(app, console);
    }
    if (events.clicked && app.switches.paused) {
        app.switches.paused = false;
        pauseSwitched(app, console);
    }
}
