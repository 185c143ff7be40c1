#include "callbacks.h"

#include "app.h"

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
    // A key without a name (a media key) is no key of the game; kept out,
    // it never reaches a recording either.
    if (action == GLFW_RELEASE && key != GLFW_KEY_UNKNOWN)
        appOf(window).pendingEvents.release(key);
}

void onMouseButton(GLFWwindow* window, int, int action, int)
{
    if (action == GLFW_RELEASE)
        appOf(window).pendingEvents.clicked = true;
}

void onWindowFocus(GLFWwindow* window, int focused)
{
    App& app = appOf(window);
    if (!focused && app.hadFocus)
        app.pendingEvents.focusLost = true;
    app.hadFocus = focused != 0;
}

void onFramebufferSize(GLFWwindow* window, int width, int height)
{
    glViewport(0, 0, width, height);
    App& app = appOf(window);
    const RendererSettings& renderer = app.settings.renderer;
    app.renderTargets.create(width, height, renderer.bloom_resolution, renderer.render_scale);
}
