// Glimmerdeep's entry point: the start-up sequence, the frame loop and the
// shut-down, in the order they happen.
#include "app.h"
#include "callbacks.h"
#include "command_line.h"
#include "frame_loop.h"
#include "startup.h"
#include "window_mode.h"
#include "framework/framework.h"
#include "framework/render_state.h"

#include <GLFW/glfw3.h>

#include <iostream>

int main(int argc, char** argv)
{
    std::cout << ":::::: STARTING GLIMMERDEEP  ::::::" << std::endl;
    const CommandLineOptions options = parseCommandLine(argc, argv, std::cerr);

    App app;
    app.settings = loadSettings(options);
    app.switches = initialSwitches(app.settings);

    openMainWindow(app);
    if (app.switches.isFullscreen)
        enterFullscreen(app.window);
    applyInitialRenderState(app.switches.renderer);
    registerDebugOutput();
    if (!initFramework())
        failStartup("Failed to init framework\n");
    glfwSetKeyCallback(app.window, onKey);
    settleCapturedCursor(app);
    app.simulation = makeSimulation(app.settings.camera, app.startCursor);

    runFrameLoop(app);

    destroyFramework();
    glfwTerminate();
    return 0;
}
