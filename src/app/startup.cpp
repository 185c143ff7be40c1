#include "startup.h"

#include "app.h"
#include "callbacks.h"
#include "render_quality.h"
#include "window_mode.h"
#include "framework/console.h"
#include "framework/framework.h"
#include "framework/render_state.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// A window larger than every screen cannot be shown, and the X server
// refuses or mishandles very large ones.
void fitWindowToScreens(Settings& settings)
{
    const ScreenSize screen = largestMonitorMode();
    ReportingStream warnings(Severity::warning);
    fitWindowSize(settings, screen.width > 0 ? std::min(screen.width, maxWindowSide) : maxWindowSide,
                  screen.height > 0 ? std::min(screen.height, maxWindowSide) : maxWindowSide,
                  "is more than the screen shows", warnings);
}

// The render targets and the viewport cannot be larger than GL allows.
void fitWindowToGl(App& app)
{
    GLint viewport[2] = {};
    GLint texture = 0;
    GLint renderbuffer = 0;
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    WindowSettings& window = app.settings.window;
    const WindowSettings before = window;
    ReportingStream warnings(Severity::warning);
    fitWindowSize(app.settings, std::min({viewport[0], texture, renderbuffer}),
                  std::min({viewport[1], texture, renderbuffer}), "is more than GL can draw", warnings);
    if (window.width != before.width || window.height != before.height)
        glfwSetWindowSize(app.window, window.width, window.height);
}

// The window with its context current and GL loaded; each failure ends the process.
GLFWwindow* makeWindow(const WindowSettings& settings, int samples)
{
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_SAMPLES, samples);
    glfwWindowHint(GLFW_REFRESH_RATE, settings.refreshRate);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    // Mesa delivers debug messages only to a debug context.
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, glDebugRequested() ? GLFW_TRUE : GLFW_FALSE);

    // The settings reader has replaced any side below one pixel.
    GLFWwindow* window = glfwCreateWindow(settings.width, settings.height, settings.title.c_str(), nullptr, nullptr);
    if (!window)
        report(Severity::startupFailure, "Failed to create GLFW window", Topic::launch);
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        report(Severity::startupFailure, "Failed to init GLEW", Topic::launch);
    return window;
}

// quality = auto looks at the renderer once, before the first targets are
// made; false when the window should have one sample per pixel.
bool chooseQuality(App& app, GLFWwindow* window)
{
    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    const GLubyte* name = glGetString(GL_RENDERER);
    const std::string renderer = name ? reinterpret_cast<const char*>(name) : "";
    const QualityChoice choice =
        chooseRenderQuality(renderer, width, height, app.settings.renderer, app.settings.givenByPlayer, app.playerMode);
    app.settings.renderer = choice.settings;
    if (!choice.line.empty())
        report(Severity::information, choice.line);
    return choice.multisample;
}

}  // namespace

bool glDebugRequested()
{
    const char* value = std::getenv("GLIMMERDEEP_GL_DEBUG");
    return value && std::strcmp(value, "1") == 0;
}

void openMainWindow(App& app, int samples)
{
    if (!glfwInit())
        report(Severity::startupFailure, "Failed to init GLFW", Topic::launch);
    fitWindowToScreens(app.settings);

    const WindowSettings& settings = app.settings.window;
    GLFWwindow* window = makeWindow(settings, samples);
    // Only a context names its renderer, and the samples are asked for
    // before it: a renderer that cannot afford them gets a second window.
    if (!chooseQuality(app, window) && samples > 1) {
        glfwDestroyWindow(window);
        window = makeWindow(settings, 0);
    }
    app.window = window;
    glfwSetWindowUserPointer(window, &app);

    // Asked for either way: left alone, the driver's default would decide.
    glfwSwapInterval(settings.vsync ? 1 : 0);
    glfwSetFramebufferSizeCallback(window, onFramebufferSize);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    glfwGetCursorPos(window, &app.startCursor.x, &app.startCursor.y);
    fitWindowToGl(app);
}

void prepareRendering(App& app)
{
    int framebufferWidth = 0, framebufferHeight = 0;
    glfwGetFramebufferSize(app.window, &framebufferWidth, &framebufferHeight);
    onFramebufferSize(app.window, framebufferWidth, framebufferHeight);
    if (app.switches.isFullscreen) {
        enterFullscreen(app.window);
        app.switches.isFullscreen = isOnMonitor(app.window);
    }
    applyInitialRenderState(app.settings.renderer);
    registerDebugOutput();
    if (!initFramework(glfwGetCurrentContext() != nullptr))
        report(Severity::startupFailure, "Failed to init framework", Topic::launch);
    glfwSetKeyCallback(app.window, onKey);
    glfwSetMouseButtonCallback(app.window, onMouseButton);
    glfwSetWindowFocusCallback(app.window, onWindowFocus);
}

void releaseRendering(App& app)
{
    app.level.reset();
    app.renderTargets = RenderTargets();
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
    if (glDebugRequested())
        glEnable(GL_DEBUG_OUTPUT);
}
