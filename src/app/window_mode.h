// Moving the game window onto a monitor and back into a window.
#pragma once

struct GLFWwindow;
struct GLFWmonitor;

// The monitor under the window's centre, else the nearest one; null when
// GLFW reports no monitors.
GLFWmonitor* monitorUnderWindow(GLFWwindow* window);

// Puts the window on its monitor (or the primary one) in that monitor's
// current mode; without a monitor or a mode it stays as it is.
void enterFullscreen(GLFWwindow* window);

// True while the window is fullscreen on a monitor.
bool isOnMonitor(GLFWwindow* window);

// Back to a window of the configured size, always at (100, 100).
void leaveFullscreen(GLFWwindow* window, int windowWidth, int windowHeight);
