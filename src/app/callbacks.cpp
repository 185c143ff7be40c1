#include "callbacks.h"

#include "app.h"
#include "key_actions.h"
#include "window_mode.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace {

App& appOf(GLFWwindow* window)
{
    return *static_cast<App*>(glfwGetWindowUserPointer(window));
}

}  // namespace

void onKey(GLFWwindow* window, int key, int, int action, int)
{
    if (action != GLFW_RELEASE)
        return;
    App& app = appOf(window);
    switch (applyKeyRelease(key, app.switches)) {
    case KeyAction::None:
        break;
    case KeyAction::Quit:
        glfwSetWindowShouldClose(window, GLFW_TRUE);
        break;
    case KeyAction::ApplyWindowMode:
        if (app.switches.isFullscreen)
            enterFullscreen(window);
        else
            leaveFullscreen(window, app.settings.window.width, app.settings.window.height);
        // Without a usable monitor the window stays as it was; the switch
        // must say so, or the next F3 would go the wrong way.
        app.switches.isFullscreen = isOnMonitor(window);
        break;
    case KeyAction::CameraSwitched:
        glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
        if (app.switches.freeCameraMode)
            app.simulation.freeCamera.firstMouse = true;  // its first frame must not jump
        break;
    }
}

void onFramebufferSize(GLFWwindow* window, int width, int height)
{
    glViewport(0, 0, width, height);
    appOf(window).renderTargets.create(width, height);
}
