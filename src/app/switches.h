// The process-wide switches that the shortcut keys flip and the frame reads.
#pragma once

#include "framework/render_state.h"

struct Switches {
    bool overlayEnabled = true;
    bool particlesEnabled = true;
    bool waterAnimationEnabled = true;
    bool freeCameraMode = false;
    bool isFullscreen = false;
    bool paused = false;  // the run's clock stands still
    RendererSettings renderer;
};
