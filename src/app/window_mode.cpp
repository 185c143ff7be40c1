#include "window_mode.h"

#include "monitor_choice.h"

#include <GLFW/glfw3.h>

#include <algorithm>

ScreenSize largestMonitorMode()
{
    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    ScreenSize largest;
    for (int i = 0; i < count; ++i) {
        if (const GLFWvidmode* mode = glfwGetVideoMode(monitors[i])) {
            largest.width = std::max(largest.width, mode->width);
            largest.height = std::max(largest.height, mode->height);
        }
    }
    return largest;
}

GLFWmonitor* monitorUnderWindow(GLFWwindow* window)
{
    ScreenRect windowRect;
    glfwGetWindowPos(window, &windowRect.x, &windowRect.y);
    glfwGetWindowSize(window, &windowRect.width, &windowRect.height);

    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    std::vector<ScreenRect> rects;
    for (int i = 0; i < count; ++i) {
        ScreenRect rect;
        glfwGetMonitorPos(monitors[i], &rect.x, &rect.y);
        if (const GLFWvidmode* mode = glfwGetVideoMode(monitors[i])) {
            rect.width = mode->width;
            rect.height = mode->height;
        }
        rects.push_back(rect);
    }
    const std::optional<std::size_t> chosen = chooseMonitor(rects, windowRect);
    return chosen ? monitors[*chosen] : nullptr;
}

void enterFullscreen(GLFWwindow* window)
{
    GLFWmonitor* monitor = monitorUnderWindow(window);
    if (!monitor)
        monitor = glfwGetPrimaryMonitor();
    if (!monitor)
        return;  // no monitor at all: stay windowed
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    if (!mode)
        return;
    glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
}

bool isOnMonitor(GLFWwindow* window)
{
    return glfwGetWindowMonitor(window) != nullptr;
}

void leaveFullscreen(GLFWwindow* window, int windowWidth, int windowHeight)
{
    glfwSetWindowMonitor(window, nullptr, 100, 100, windowWidth, windowHeight, 0);
}
