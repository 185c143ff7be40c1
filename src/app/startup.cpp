#include "startup.h"

#include "app.h"
#include "callbacks.h"
#include "window_mode.h"
#include "framework/framework.h"
#include "framework/render_state.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>

void failStartup(const char* message)
{
    std::fputs(message, stderr);
    std::exit(1);
}

void openMainWindow(App& app)
{
    if (!glfwInit())
        failStartup("Failed to init GLFW\n");

    const WindowSettings& settings = app.settings.window;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_SAMPLES, 4);
    glfwWindowHint(GLFW_REFRESH_RATE, settings.refreshRate);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);

    // GLFW refuses sizes of 0 or less itself; this only keeps its own error text quiet.
    GLFWwindow* window = settings.width > 0 && settings.height > 0
        ? glfwCreateWindow(settings.width, settings.height, settings.title.c_str(), nullptr, nullptr)
        : nullptr;
    if (!window)
        failStartup("Failed to create GLFW window\n");
    app.window = window;
    glfwSetWindowUserPointer(window, &app);

    glfwMakeContextCurrent(window);
    glfwSetFramebufferSizeCallback(window, onFramebufferSize);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    glfwGetCursorPos(window, &app.startCursor.x, &app.startCursor.y);

    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        failStartup("Failed to init GLEW\n");
}

void prepareRendering(App& app)
{
    int framebufferWidth = 0, framebufferHeight = 0;
    glfwGetFramebufferSize(app.window, &framebufferWidth, &framebufferHeight);
    app.renderTargets.create(framebufferWidth, framebufferHeight);
    if (app.switches.isFullscreen) {
        enterFullscreen(app.window);
        app.switches.isFullscreen = isOnMonitor(app.window);
    }
    applyInitialRenderState(app.switches.renderer);
    registerDebugOutput();
    if (!initFramework())
        failStartup("Failed to init framework\n");
    glfwSetKeyCallback(app.window, onKey);
}

void releaseRendering(App& app)
{
    app.level.reset();
    app.renderTargets.release();
    destroyFramework();
}

void settleCapturedCursor(App& app)
{
    glfwSetInputMode(app.window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    glfwPollEvents();
    glfwGetCursorPos(app.window, &app.startCursor.x, &app.startCursor.y);
}

void registerDebugOutput()
{
    if (!glDebugMessageCallback)
        return;
    glDebugMessageCallback(onDebugMessage, nullptr);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
}
