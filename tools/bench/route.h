// The fixed route every measured frame follows: follow camera, W held, the
// view turning steadily while it nods up and down, so the fairy circles
// inside the well and slowly climbs, with the clock advancing 1/60 s a frame.
#pragma once

#include "app/frame.h"

inline constexpr float routeFrameTime = 1.0f / 60.0f;

// The input of frame `index` (0 for the first frame after start-up), with
// the cursor moved relative to where it was captured.
FrameInput routeInput(int index, CursorPosition start, int framebufferWidth, int framebufferHeight);
