// One frame of the game as a function of its inputs, so tests and the
// benchmark can run frames with a fixed clock and scripted input while the
// real loop reads them from GLFW.
#pragma once

#include "app.h"
#include "window_events.h"
#include "game/input.h"
#include "scene/frame_passes.h"

#include <optional>
#include <ostream>

struct FrameInput {
    double clock = 0.0;  // seconds since the windowing library started
    std::optional<float> timeStep;  // a replay's recorded step, instead of the clock's
    HeldKeys keys;
    CursorPosition cursor;
    int framebufferWidth = 0;
    int framebufferHeight = 0;
    WindowEvents events;  // keys released, clicks, focus lost since the last frame
};

struct FrameResult {
    bool closeRequested = false;  // the game ended in this frame
    bool drawn = false;           // false while the framebuffer has no area
    float timeStep = 0.0f;        // the step the game took
    RunEnd end = RunEnd::none;
};

struct FrameUpdate {
    FrameParameters parameters;   // what the drawing of this frame needs
    bool closeRequested = false;
    float timeStep = 0.0f;
    RunEnd end = RunEnd::none;
};

// The frame's game step, without a GL call: the simulation and the
// particles, or nothing at all while paused. Game events are written to
// `console`.
FrameUpdate updateFrame(App& app, const FrameInput& input, std::ostream& console);

// The window's events applied, then the game step: everything of a frame
// but the drawing, so a tool can step the game without a window.
FrameUpdate stepFrame(App& app, const FrameInput& input, std::ostream& console);

// stepFrame, then the frame drawn into the current framebuffer; the
// observer, if any, sees the passes.
FrameResult runFrame(App& app, const FrameInput& input, std::ostream& console,
                     FrameObserver* observer = nullptr);
