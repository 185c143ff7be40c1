// What releasing a shortcut key does to the switches, apart from the window
// and GL calls that follow it (the key callback makes those).
#pragma once

#include "switches.h"

enum class KeyAction {
    None,
    Quit,
    ApplyWindowMode,    // isFullscreen flipped
    CameraSwitched,     // freeCameraMode flipped; recapture the cursor
};

// Flips the switch bound to `key` (a GLFW key code) and says what must follow.
KeyAction applyKeyRelease(int key, Switches& switches);
