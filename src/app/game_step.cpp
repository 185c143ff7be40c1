// The rules' step of a frame: the record's events first, in the order they
// came, then the run itself. No window and no GL here; runFrame makes the
// window follow.
#include "frame.h"

#include "player_menu.h"
#include "game/menu_layout.h"
#include "game/projection.h"

#include <GLFW/glfw3.h>

#include <string>
#include <vector>

// A new run from the settings, in the camera mode and pause of the old one.
void restartRun(App& app)
{
    const bool freeCameraMode = app.simulation.freeCameraMode;
    app.simulation = makeSimulation(app.settings.camera, app.simulation.lastCursor, app.course);
    app.simulation.freeCameraMode = freeCameraMode;
    app.runEnd = RunEnd::none;
    app.hudMessage = HudMessage{};
    app.particles.clear();
}

// Each key released flips what it is bound to (GLFW key codes; others do
// nothing); losing the focus pauses and a click resumes. The lines for the
// player go to `said`. Returns whether the pause switched.
bool applyShortcuts(App& app, const WindowEvents& events, std::vector<std::string>& said)
{
    Switches& switches = app.switches;
    bool pauseSwitched = false;
    const auto switchPause = [&] {
        switches.paused = !switches.paused;
        said.emplace_back(switches.paused ? "Paused\n" : "Resumed\n");
        pauseSwitched = true;
    };
    for (int i = 0; i < events.keyReleaseCount; ++i) {
        switch (events.keyReleases[i]) {
        case GLFW_KEY_1: switches.overlayEnabled = !switches.overlayEnabled; break;
        case GLFW_KEY_2: switches.particlesEnabled = !switches.particlesEnabled; break;
        case GLFW_KEY_3: switches.waterAnimationEnabled = !switches.waterAnimationEnabled; break;
        case GLFW_KEY_N: switches.normals = !switches.normals; break;
        case GLFW_KEY_T: switches.texcoords = !switches.texcoords; break;
        case GLFW_KEY_F1: switches.wireframe = !switches.wireframe; break;
        case GLFW_KEY_F2: switches.backfaceCulling = !switches.backfaceCulling; break;
        case GLFW_KEY_F3: switches.isFullscreen = !switches.isFullscreen; break;
        case GLFW_KEY_C:
            app.simulation.freeCameraMode = !app.simulation.freeCameraMode;
            if (app.simulation.freeCameraMode)
                app.simulation.freeCamera.firstMouse = true;  // its first frame must not jump
            break;
        case GLFW_KEY_P: switchPause(); break;
        case GLFW_KEY_R:
            restartRun(app);
            said.emplace_back("Restarted\n");
            break;
        case GLFW_KEY_G:
            if (app.playerMode)
                switches.ghostShown = !switches.ghostShown;
            break;
        default: break;
        }
    }
    if (events.focusLost && !switches.paused)
        switchPause();
    if (events.clicked && switches.paused)
        switchPause();
    return pauseSwitched;
}

SimulationStep stepGame(App& app, const FrameInput& input)
{
    const float deltaTime = input.timeStep.value_or(frameTimeStep(input.clock, app.lastFrameTime));
    SimulationStep step;
    app.lastFrameTime = input.clock;
    std::vector<std::string> said;
    bool pauseSwitched = false;
    if (app.playerMode) {
        const bool pausedBefore = app.switches.paused;
        step.menu = stepPlayerMenu(app, input, said);
        pauseSwitched = app.switches.paused != pausedBefore;
    } else {
        pauseSwitched = applyShortcuts(app, input.events, said);
    }

    const float aspect = aspectRatio(input.framebufferWidth, input.framebufferHeight);
    const bool standingStill = app.switches.paused || app.runEnd != RunEnd::none;
    if (standingStill || pauseSwitched) {
        // While the run stands still the cursor turns nothing, nor does the
        // jump of capturing it again when a pause ends.
        app.simulation.lastCursor = input.cursor;
    }
    if (standingStill) {
        // Paused, or the end screen after the run: the run's clock stands
        // still, nothing drains, moves or ages, and the picture keeps the
        // last frame's camera.
        step.timeStep = deltaTime;
        step.view = pausedView(app.simulation, aspect);
        if (app.menu.screen == MenuScreen::title ||
            (app.menu.screen == MenuScreen::options && app.menu.optionsFrom == MenuScreen::title)) {
            app.menu.titleTime += deltaTime;
            step.view = titleView(app.menu.titleTime, app.simulation.camera, aspect);
        }
    } else {
        const MenuChoice choice = step.menu;
        step = stepSimulation(app.simulation, deltaTime, input.keys, input.cursor, aspect);
        step.menu = choice;
        if (app.switches.particlesEnabled)
            app.particles.step(deltaTime, app.simulation.state.fairyPosition);
        app.hudMessage = nextHudMessage(app.hudMessage, step.ringPassed, step.powerRanOut, app.simulation.runTime);
        app.runEnd = step.end;
        if (app.playerMode && step.end != RunEnd::none) {
            showResult(app.menu, {step.end == RunEnd::won, app.simulation.runTime, app.simulation.state.totalPassed,
                                  static_cast<int>(app.course.rings.size())});
            step.messages.emplace_back("Result screen\n");
        }
    }
    if (app.ghost)
        app.ghost->follow(app.simulation.runTime);
    if (!said.empty()) {
        said.insert(said.end(), step.messages.begin(), step.messages.end());
        step.messages = std::move(said);
    }
    return step;
}
