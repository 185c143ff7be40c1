// The real frame loop: reads the clock, keys, cursor, gamepad and
// framebuffer size from GLFW, runs a frame and presents it, until the window
// should close: at the end of the run, or as long after it as the end
// screen lasts. A run can instead be driven by a replay, recorded as it is
// played, counted into the player's results and kept as the ghost.
#pragma once

#include "frame.h"
#include "ghost_take.h"
#include "replay.h"
#include "replay_writer.h"
#include "results.h"
#include "audio/game_sound.h"

#include <optional>

struct GLFWwindow;

struct RunOptions {
    CourseId course;  // the results, the ghost and a recording are kept under it
    const Replay* replay = nullptr;  // its frames drive the game; live, only Escape and F3
    bool replayAsFastAsDrawn = false;
    ReplayWriter* recorder = nullptr;
    std::optional<ResultsFile> results;  // counts a win or a loss when set
    GameSound* sound = nullptr;  // hears every frame when set
    // Player mode: the run as played, kept at ghostPath when a win beats the
    // course's best time (the results' or, without them, the ghost's).
    std::optional<GhostTake> ghostTake;
    std::string ghostPath;
};

// What the player does right now, read from the window and any gamepad, with
// what the callbacks collected since the last frame.
FrameInput readFrameInput(App& app);

// A replayed frame's input: the recorded keys, cursor, events and time step,
// with this window's size and, of the live events, only Escape and F3.
FrameInput replayedInput(const ReplayFrame& recorded, const FrameInput& live, double clock);

void runFrameLoop(App& app, RunOptions& run);
