// The GLFW callbacks of the game window. Both find the game's state through
// the window's user pointer, an App.
#pragma once

struct GLFWwindow;

// Shortcut keys act on release: switches, fullscreen, free camera, quitting.
void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);

// New viewport and render targets for the new framebuffer size.
void onFramebufferSize(GLFWwindow* window, int width, int height);

