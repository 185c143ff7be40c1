// The live run written down for the ghost: its frames since the run began
// or was last restarted (R), so the kept replay starts where the run did. A
// restart keeps the pause and the camera mode of the run before it; the
// take's first frame carries them as the keys that switch them on.
#pragma once

#include "replay.h"
#include "window_events.h"
#include "game/input.h"

// What a restart in the coming frame carries over from the run before it.
struct RunBeforeFrame {
    bool paused = false;
    bool freeCameraMode = false;
    CursorPosition lastCursor;
};

class GhostTake {
public:
    explicit GhostTake(const ReplayHeader& header);

    // A frame as the game played it; one that restarts the run starts the take again.
    void add(const ReplayFrame& frame, const RunBeforeFrame& before);

    const Replay& replay() const { return replay_; }

private:
    Replay replay_;
};
