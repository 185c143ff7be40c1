// What releasing a shortcut key does to the switches, apart from the window
// and run changes that follow it (applyWindowEvents makes those).
#pragma once

#include "switches.h"

enum class KeyAction {
    None,
    Quit,
    ApplyWindowMode,  // isFullscreen flipped
    CameraSwitched,   // freeCameraMode flipped; recapture the cursor
    PauseSwitched,    // paused flipped
    Restart,          // a new run
};

// Flips the switch bound to `key` (a GLFW key code) and says what must follow.
KeyAction applyKeyRelease(int key, Switches& switches);
