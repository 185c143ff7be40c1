// The switches that the shortcut keys flip and the frame reads. The window
// follows isFullscreen and paused once a frame (runFrame).
#pragma once

struct Switches {
    bool overlayEnabled = true;
    bool particlesEnabled = true;
    bool waterAnimationEnabled = true;
    bool isFullscreen = false;
    bool paused = false;  // the run's clock stands still and the cursor is free
    bool wireframe = false;        // the scene's polygons as lines
    bool backfaceCulling = false;  // the scene's back faces culled
    bool normals = false;          // the water shows its normals
    bool texcoords = false;        // flipped by T; reserved for a texture-coordinate view
    bool ghostShown = true;        // the best run's ghost, if any, is drawn (G, in player mode)
};
