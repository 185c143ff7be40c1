// A whole replay as the game writes it, line by line, in one string.
#pragma once

#include "app/replay.h"

#include <string>

inline std::string formatReplay(const Replay& replay)
{
    std::string text = formatReplayHeader(replay.header);
    for (const ReplayFrame& frame : replay.frames)
        text += formatReplayFrame(frame);
    if (replay.endHash)
        text += formatReplayEnd(*replay.endHash);
    return text;
}
