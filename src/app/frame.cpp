#include "frame.h"

#include <GL/glew.h>

namespace {

void reportEvents(const SimulationStep& step, std::ostream& console)
{
    if (step.messages.empty())
        return;
    for (const std::string& message : step.messages)
        console << message;
    console.flush();  // players and scripts watch for these while the game runs
}

}  // namespace

FrameResult runFrame(App& app, const FrameInput& input, std::ostream& console)
{
    SimulationInput simulationInput;
    simulationInput.deltaTime = input.clock - app.lastFrameTime;
    simulationInput.keys = input.keys;
    simulationInput.cursor = input.cursor;
    simulationInput.framebufferWidth = input.framebufferWidth;
    simulationInput.framebufferHeight = input.framebufferHeight;
    simulationInput.freeCameraMode = app.switches.freeCameraMode;
    const SimulationStep step = stepSimulation(app.simulation, simulationInput);
    reportEvents(step, console);
    app.lastFrameTime = input.clock;

    FrameResult result;
    result.closeRequested = step.closeRequested;
    // A minimised window has no pixels to draw; the game and its clock go on.
    if (input.framebufferWidth <= 0 || input.framebufferHeight <= 0)
        return result;

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    result.drawn = true;
    return result;
}
