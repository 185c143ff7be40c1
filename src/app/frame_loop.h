// The real frame loop: reads the clock, keys, cursor and framebuffer size
// from GLFW, runs a frame and presents it, until the window should close.
#pragma once

#include "frame.h"

struct GLFWwindow;

// What the player does right now, read from the window and any gamepad, with
// what the callbacks collected since the last frame.
FrameInput readFrameInput(App& app);

void runFrameLoop(App& app);
