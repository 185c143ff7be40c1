// When, in a replay, each ring is passed and the run ends: the replay
// stepped without a window, seconds counted from its first frame.
#pragma once

#include "app/replay.h"

#include <ostream>

// Lines "ring <number> <seconds> <the chime's playback rate>" and "won
// <seconds>" or "lost <seconds>".
void printRingTimes(const Replay& replay, std::ostream& out);
