#include "ghost_take.h"

#include <GLFW/glfw3.h>

namespace {

// Five minutes at 60 frames a second before the take first grows.
constexpr std::size_t framesReserved = 5 * 60 * 60;

}  // namespace

GhostTake::GhostTake(const ReplayHeader& header)
{
    replay_.header = header;
    replay_.frames.reserve(framesReserved);
}

void GhostTake::add(const ReplayFrame& frame, const RunBeforeFrame& before)
{
    if (!frame.events.released(GLFW_KEY_R)) {
        replay_.frames.push_back(frame);
        return;
    }
    replay_.frames.clear();
    replay_.header.startCursor = before.lastCursor;
    ReplayFrame first = frame;
    first.events = WindowEvents{};
    if (before.paused)
        first.events.release(GLFW_KEY_P);
    if (before.freeCameraMode)
        first.events.release(GLFW_KEY_C);
    for (int i = 0; i < frame.events.keyReleaseCount; ++i)
        first.events.release(frame.events.keyReleases[i]);
    first.events.clicked = frame.events.clicked;
    first.events.focusLost = frame.events.focusLost;
    replay_.frames.push_back(first);
}
