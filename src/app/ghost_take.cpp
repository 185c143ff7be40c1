#include "ghost_take.h"

#include <GLFW/glfw3.h>

namespace {

// Five minutes at 60 frames a second before the take first grows.
constexpr std::size_t framesReserved = 5 * 60 * 60;

bool sameTurning(const CameraSettings& a, const CameraSettings& b)
{
    return a.mouseSensitivity == b.mouseSensitivity && a.invertY == b.invertY;
}

}  // namespace

GhostTake::GhostTake(const ReplayHeader& header)
{
    replay_.header = header;
    replay_.header.playerMode = false;
    replay_.frames.reserve(framesReserved);
}

void GhostTake::add(const ReplayFrame& frame, const RunBeforeFrame& before, const Simulation& after, bool pausedAfter)
{
    const bool stepped = !pausedAfter && !before.ended;
    const bool pauseSwitched = before.paused != pausedAfter;
    const bool newRun = after.runTime < before.runTime || (before.runTime == 0.0 && after.runTime > 0.0);
    ReplayFrame kept = frame;
    kept.events = WindowEvents{};
    if (newRun) {
        replay_.frames.clear();
        replay_.header.camera = after.camera;
        // The run's first frame turns the camera by as much as the live one did.
        replay_.header.startCursor = pauseSwitched ? frame.cursor : before.lastCursor;
        spoiled_ = false;
        if (!stepped)
            return;  // back on the title screen: the run begins with Fly
        if (after.freeCameraMode)
            kept.events.release(GLFW_KEY_C);
    } else {
        if (!stepped && !pauseSwitched)
            return;
        if (pauseSwitched)
            kept.events.release(GLFW_KEY_P);
        for (int i = 0; i < frame.events.keyReleaseCount; ++i)
            if (frame.events.keyReleases[i] == GLFW_KEY_C)
                kept.events.release(GLFW_KEY_C);
    }
    if (!sameTurning(after.camera, replay_.header.camera))
        spoiled_ = true;
    replay_.frames.push_back(kept);
}
