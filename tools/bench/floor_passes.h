// The floors a full-screen pass cannot go below at this size, drawn over the
// game's own quad with the state a frame leaves: one texel fetched per pixel
// from the bright target into a ping-pong target (the blur's passes), and
// two fetched and added per pixel from the scene and ping-pong targets into
// the window (the composite). Milliseconds, medians over the repetitions.
#pragma once

class RenderTargets;

struct FloorTimes {
    double oneFetchQuery = 0.0;  // GL_TIME_ELAPSED
    double oneFetchWall = 0.0;   // through glFinish
    double twoFetchQuery = 0.0;
    double twoFetchWall = 0.0;
};

// Leaves framebuffer 0 bound and the viewport at the window's size.
FloorTimes timeFloorPasses(const RenderTargets& targets, int repetitions);
