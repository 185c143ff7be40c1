#include "audio/sound_frame.h"

#include <cstddef>

SoundFrame soundFrame(const Simulation& simulation, RunEnd end, bool paused, float timeStep, bool silent)
{
    const GameState& state = simulation.state;
    SoundFrame frame;
    frame.timeStep = timeStep;
    frame.paused = paused;
    frame.silent = silent;
    for (std::size_t i = 0; i < state.ringPassed.size() && i < 64; ++i) {
        if (state.ringPassed[i])
            frame.ringsPassed |= std::uint64_t{1} << i;
    }
    frame.ringCentres = &simulation.course.rings;
    frame.power = state.fairyPower;
    frame.fullPower = simulation.course.fullPower;
    frame.falling = state.falling;
    frame.end = end;
    frame.runTime = simulation.runTime;
    frame.fairy = state.fairyPosition;
    // The view matrix's rows are the camera's right, up and backward axes.
    const glm::mat4& view = simulation.view.view;
    frame.listener.position = simulation.view.eye;
    frame.listener.up = glm::vec3(view[0][1], view[1][1], view[2][1]);
    frame.listener.front = -glm::vec3(view[0][2], view[1][2], view[2][2]);
    return frame;
}
