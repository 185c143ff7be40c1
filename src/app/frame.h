// One frame of the game as a function of its inputs, so tests and the
// benchmark can run frames with a fixed clock and scripted input while the
// real loop reads them from GLFW.
#pragma once

#include "app.h"
#include "window_events.h"
#include "game/input.h"
#include "scene/frame_passes.h"

#include <ostream>

struct FrameInput {
    double clock = 0.0;  // seconds since the windowing library started
    HeldKeys keys;
    CursorPosition cursor;
    int framebufferWidth = 0;
    int framebufferHeight = 0;
    WindowEvents events;  // keys released, clicks, focus lost since the last frame
};

struct FrameResult {
    bool closeRequested = false;  // the game ended in this frame
    bool drawn = false;           // false while the framebuffer has no area
};

struct FrameUpdate {
    FrameParameters parameters;   // what the drawing of this frame needs
    bool closeRequested = false;
};

// The frame's game step, without a GL call: the simulation and the
// particles, or nothing at all while paused. Game events are written to
// `console`.
FrameUpdate updateFrame(App& app, const FrameInput& input, std::ostream& console);

// Applies the window's events, advances the game by the time since the
// previous frame and draws it into the current framebuffer; the observer,
// if any, sees the passes.
FrameResult runFrame(App& app, const FrameInput& input, std::ostream& console,
                     FrameObserver* observer = nullptr);
