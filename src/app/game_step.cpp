// The rules' step of a frame: the record's events first, in the order they
// came, then the run itself. No window and no GL here; runFrame makes the
// window follow.
#include "frame.h"

#include "game/projection.h"

#include <GLFW/glfw3.h>

#include <string>
#include <vector>

namespace {

// A new run from the settings, in the camera mode and pause of the old one.
void restart(App& app)
{
    const bool freeCameraMode = app.simulation.freeCameraMode;
    app.simulation = makeSimulation(app.settings.camera, app.simulation.lastCursor);
    app.simulation.freeCameraMode = freeCameraMode;
    app.runEnd = RunEnd::none;
    app.hudMessage = HudMessage{};
    app.particles.clear();
}

// Flips what `key` (a GLFW key code) is bound to; any other key does nothing.
// Returns the line the player is told, if any.
const char* releaseKey(App& app, int key)
{
    Switches& switches = app.switches;
    switch (key) {
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
    case GLFW_KEY_P:
        switches.paused = !switches.paused;
        return switches.paused ? "Paused\n" : "Resumed\n";
    case GLFW_KEY_R:
        restart(app);
        return "Restarted\n";
    default: break;
    }
    return nullptr;
}

// Losing the focus pauses; a click resumes.
const char* followFocus(App& app, const WindowEvents& events)
{
    if (events.focusLost && !app.switches.paused) {
        app.switches.paused = true;
        return "Paused\n";
    }
    if (events.clicked && app.switches.paused) {
        app.switches.paused = false;
        return "Resumed\n";
    }
    return nullptr;
}

}  // namespace

SimulationStep stepGame(App& app, const FrameInput& input)
{
    const float deltaTime = input.timeStep.value_or(frameTimeStep(input.clock, app.lastFrameTime));
    app.lastFrameTime = input.clock;
    std::vector<std::string> said;
    bool pauseSwitched = false;
    for (int i = 0; i < input.events.keyReleaseCount; ++i) {
        const int key = input.events.keyReleases[i];
        pauseSwitched = pauseSwitched || key == GLFW_KEY_P;
        if (const char* line = releaseKey(app, key))
            said.emplace_back(line);
    }
    if (const char* line = followFocus(app, input.events)) {
        pauseSwitched = true;
        said.emplace_back(line);
    }

    SimulationStep step;
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
    } else {
        step = stepSimulation(app.simulation, deltaTime, input.keys, input.cursor, aspect);
        if (app.switches.particlesEnabled)
            app.particles.step(deltaTime, app.simulation.state.fairyPosition);
        app.hudMessage = nextHudMessage(app.hudMessage, step.ringPassed, step.powerRanOut, app.simulation.runTime);
        app.runEnd = step.end;
    }
    if (!said.empty()) {
        said.insert(said.end(), step.messages.begin(), step.messages.end());
        step.messages = std::move(said);
    }
    return step;
}
