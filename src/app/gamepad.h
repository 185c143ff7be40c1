// Playing with a gamepad that GLFW maps: the left stick flies, the right
// stick looks, Start pauses, Back restarts, Y switches the camera, each
// button on its release. In the menus the pad and the left stick step as
// the arrow keys, A chooses as Enter and B goes back as Backspace. Keyboard and mouse keep working beside it. The
// mapping from one state of the pad to the game's input is pure; the frame
// loop reads pads only while the window has the focus.
#pragma once

#include "window_events.h"
#include "game/input.h"

#include <array>

// One state of a pad in GLFW's gamepad layout: buttons pressed or not,
// axes from -1 to 1 with y growing downwards.
struct PadState {
    std::array<bool, 15> buttons{};
    std::array<float, 6> axes{};
};

// Sticks nearer the middle than this count as let go.
inline constexpr float stickDeadZone = 0.25f;
// The right stick held fully turns the view like a mouse moved this many
// screen units a second, at the game's default sensitivity 2.0 radians a second.
inline constexpr double lookUnitsPerSecond = 1000.0;

struct PadInput {
    HeldKeys keys;
    CursorPosition look;   // screen units to move the cursor by
    WindowEvents releases;  // buttons released, as the keys they stand for
};

PadInput mapGamepad(const PadState& now, const PadState& before, double deltaTime);

// What the frame loop keeps of the pads between frames.
struct Gamepads {
    int joystick = -1;  // the one read last frame, or -1
    PadState previous;
    decltype(PadState::buttons) heldElsewhere{};  // buttons down since before the pad was found
    CursorPosition look;  // all the look so far, added to the mouse's cursor
};
