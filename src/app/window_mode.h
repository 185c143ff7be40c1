// Moving the game window onto a monitor and back into a window.
#pragma once

struct GLFWwindow;
struct GLFWmonitor;

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// The largest width and the largest height any monitor shows in its current
// mode; 0 by 0 when GLFW reports none.
ScreenSize largestMonitorMode();

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
