// The floor a full-screen pass cannot go below at this size: one texel
// fetched per pixel, from an RGBA16F texture into an RGBA16F target, over
// the same quad as the blur. Beside it, one horizontal and one vertical pass
// of the game's own blur program, drawn the same way, so each can be set
// against the floor. Milliseconds, medians over the repetitions.
#pragma once

class RenderTargets;

struct FloorTimes {
    double floorQuery = 0.0;  // GL_TIME_ELAPSED
    double floorWall = 0.0;   // through glFinish
    double horizontalQuery = 0.0;
    double horizontalWall = 0.0;
    double verticalQuery = 0.0;
    double verticalWall = 0.0;
};

// Draws into the ping-pong targets with the blend state the last frame left,
// as the blur would; leaves framebuffer 0 bound.
FloorTimes timeFloorPasses(const RenderTargets& targets, int repetitions);
