#include "ring_times.h"

#include "app/app.h"
#include "app/frame.h"
#include "audio/sound_mixer.h"

#include <sstream>

void printRingTimes(const Replay& replay, std::ostream& out)
{
    App app;
    app.simulation = makeSimulation(replay.header.camera, replay.header.startCursor, app.course);
    app.particles.seed(replay.header.seed);
    std::ostringstream console;
    double seconds = 0.0;  // at the start of the frame being stepped
    for (const ReplayFrame& recorded : replay.frames) {
        FrameInput input;
        input.clock = seconds + recorded.timeStep;
        input.timeStep = recorded.timeStep;
        input.keys = recorded.keys;
        input.cursor = recorded.cursor;
        input.framebufferWidth = recorded.framebufferWidth;
        input.framebufferHeight = recorded.framebufferHeight;
        input.events = recorded.events;
        const std::vector<bool> before = app.simulation.state.ringPassed;
        const SimulationStep step = runFrame(app, input, console);  // no window: the game alone
        for (std::size_t ring = 0; ring < before.size(); ++ring) {
            if (app.simulation.state.ringPassed[ring] && !before[ring])
                out << "ring " << ring + 1 << " " << seconds << " " << chimePitch(static_cast<int>(ring)) << "\n";
        }
        if (step.end != RunEnd::none)
            out << (step.end == RunEnd::won ? "won " : "lost ") << seconds << "\n";
        seconds += recorded.timeStep;
    }
}
