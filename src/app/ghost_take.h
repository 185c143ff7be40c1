// The live run written down for the ghost: the frames of the run now under
// way, from the frame that started it (Fly, Again, Restart or R), as a
// replay the game plays without menus. Frames in which the run stood still
// behind a menu are left out but for the two where it stopped and went on
// again, written as P; of the frame's keys only C, the camera switch, is
// kept. A run whose camera settings change on the way (the options screen)
// cannot be followed by its replay and is not kept.
#pragma once

#include "replay.h"
#include "game/simulation.h"

// The run as it was before a frame.
struct RunBeforeFrame {
    bool paused = false;
    bool ended = false;
    double runTime = 0.0;
    CursorPosition lastCursor;
};

class GhostTake {
public:
    explicit GhostTake(const ReplayHeader& header);

    // A frame as the game played it; `after` is the run after it, `pausedAfter` its pause.
    void add(const ReplayFrame& frame, const RunBeforeFrame& before, const Simulation& after, bool pausedAfter);

    const ReplayHeader& header() const { return replay_.header; }

    // The run so far, when its replay follows it.
    const Replay* replay() const { return spoiled_ ? nullptr : &replay_; }

private:
    Replay replay_;
    bool spoiled_ = false;
};
