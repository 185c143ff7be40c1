// One frame of the game as a function of its input record, so tests, tools
// and the benchmark run frames with a fixed clock and scripted input while
// the real loop reads them from GLFW. A frame walks down once: the record,
// the rules' step, the window following it, the drawing.
#pragma once

#include "app.h"
#include "window_events.h"
#include "game/input.h"
#include "game/simulation.h"
#include "scene/frame_passes.h"

#include <optional>
#include <ostream>

// What reached the game in one frame.
struct FrameInput {
    double clock = 0.0;  // seconds since the windowing library started
    std::optional<float> timeStep;  // a replay's recorded step, instead of the clock's
    HeldKeys keys;
    CursorPosition cursor;
    int framebufferWidth = 0;
    int framebufferHeight = 0;
    WindowEvents events;  // keys released, clicks, focus lost since the last frame
};

// The rules' step, decided from the record alone, without a window or GL:
// each key released flips its switch, pauses or resumes, restarts the run
// or switches the camera; losing the focus pauses and a click resumes. In
// player mode the menus take the keys and clicks while they show, and a run
// that ends opens the result screen. Then,
// unless paused or over, the simulation, the particles and the HUD's message
// go on by the frame's time step. "Paused", "Resumed" and "Restarted" come
// first in the step's messages, then the game's events.
SimulationStep stepGame(App& app, const FrameInput& input);

// One frame: stepGame, its messages written to `console`, then the window
// following the switches (Escape closes it, in player mode "Quit" does; F3
// puts it on or off its monitor; the cursor is free while paused or in a
// menu; an option changed takes effect and is saved), then drawFrame into the window's
// framebuffer, the observer, if any, seeing the passes. Without a window
// nothing follows; without a level or with a framebuffer of no area
// nothing is drawn, so a tool can step the game without either.
SimulationStep runFrame(App& app, const FrameInput& input, std::ostream& console,
                        FrameObserver* observer = nullptr);
