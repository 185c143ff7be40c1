// The real frame loop: reads the clock, keys, cursor and framebuffer size
// from GLFW, runs a frame and presents it, until the window should close.
#pragma once

#include "frame.h"

struct GLFWwindow;

// What the player does right now, read from the window.
FrameInput readFrameInput(GLFWwindow* window);

void runFrameLoop(App& app);
