// The GLFW callbacks of the game window. They find the game's state through
// the window's user pointer, an App, and only collect what happened for the
// next frame to apply, except a resize, which needs new targets at once.
#pragma once

struct GLFWwindow;

// Shortcut keys act on release.
void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);

void onMouseButton(GLFWwindow* window, int button, int action, int mods);

void onWindowFocus(GLFWwindow* window, int focused);

// New viewport and render targets for the new framebuffer size.
void onFramebufferSize(GLFWwindow* window, int width, int height);
