// What the player does in one frame, as the simulation sees it: abstract
// movement keys and the cursor, never window-system key codes.
#pragma once

struct HeldKeys {
    bool forward = false;  // W
    bool back = false;     // S
    bool left = false;     // A
    bool right = false;    // D
    bool up = false;       // Space, free camera only
    bool down = false;     // Left Shift, free camera only
};

struct CursorPosition {
    double x = 0.0;
    double y = 0.0;
};
