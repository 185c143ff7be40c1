#include "frame.h"

#include "shortcuts.h"

namespace {

void reportEvents(const SimulationStep& step, std::ostream& console)
{
    if (step.messages.empty())
        return;
    for (const std::string& message : step.messages)
        console << message;
    console.flush();  // players and scripts watch for these while the game runs
}

SimulationInput simulationInput(const App& app, const FrameInput& input, float deltaTime)
{
    SimulationInput result;
    result.deltaTime = deltaTime;
    result.keys = input.keys;
    result.cursor = input.cursor;
    result.framebufferWidth = input.framebufferWidth;
    result.framebufferHeight = input.framebufferHeight;
    result.freeCameraMode = app.switches.freeCameraMode;
    return result;
}

FrameParameters frameParameters(const App& app, const FrameInput& input, const CameraView& view)
{
    FrameParameters frame;
    frame.view = view;
    frame.game = &app.simulation.state;
    frame.particles = app.switches.particlesEnabled ? &app.particles : nullptr;
    frame.time = static_cast<float>(input.clock);
    frame.waterAnimationEnabled = app.switches.waterAnimationEnabled;
    frame.drawNormals = app.switches.renderer.normals;
    frame.overlayEnabled = app.switches.overlayEnabled;
    frame.paused = app.switches.paused;
    frame.words = HudStatus{app.simulation.state.totalPassed, app.simulation.runTime, app.hudMessage,
                            app.switches.paused, app.runEnd};
    frame.wireframe = app.switches.renderer.wireframe;
    frame.backfaceCulling = app.switches.renderer.backface_culling;
    frame.framebufferWidth = input.framebufferWidth;
    frame.framebufferHeight = input.framebufferHeight;
    return frame;
}

}  // namespace

FrameUpdate updateFrame(App& app, const FrameInput& input, std::ostream& console)
{
    const float deltaTime = input.timeStep.value_or(frameTimeStep(input.clock, app.lastFrameTime));
    app.lastFrameTime = input.clock;
    const bool standingStill = app.switches.paused || app.runEnd != RunEnd::none;
    if (app.cursorSettling || standingStill) {
        app.simulation.lastCursor = input.cursor;
        app.cursorSettling = false;
    }
    if (standingStill) {
        // Paused, or the end screen after the run: the run's clock stands
        // still, nothing drains, moves or ages, and the picture keeps the
        // last frame's camera.
        const CameraView view = pausedView(app.simulation, input.framebufferWidth, input.framebufferHeight);
        return FrameUpdate{frameParameters(app, input, view), false, deltaTime, RunEnd::none};
    }
    const SimulationStep step = stepSimulation(app.simulation, simulationInput(app, input, deltaTime));
    reportEvents(step, console);
    if (app.switches.particlesEnabled)
        app.particles.step(deltaTime, app.simulation.state.fairyPosition);
    app.hudMessage = nextHudMessage(app.hudMessage, step.ringPassed, step.powerRanOut, app.simulation.runTime);
    app.runEnd = step.end;
    FrameParameters frame = frameParameters(app, input, step.view);
    frame.fairy = step.fairy;
    return FrameUpdate{frame, step.closeRequested, deltaTime, step.end};
}

FrameUpdate stepFrame(App& app, const FrameInput& input, std::ostream& console)
{
    applyWindowEvents(app, input.events, console);
    return updateFrame(app, input, console);
}

FrameResult runFrame(App& app, const FrameInput& input, std::ostream& console, FrameObserver* observer)
{
    const FrameUpdate update = stepFrame(app, input, console);
    FrameResult result;
    result.closeRequested = update.closeRequested;
    result.timeStep = update.timeStep;
    result.end = update.end;
    // A minimised window has no pixels to draw; the game and its clock go on.
    if (input.framebufferWidth <= 0 || input.framebufferHeight <= 0)
        return result;

    drawFrame(*app.level, app.renderTargets, update.parameters, observer);
    result.drawn = true;
    return result;
}
