// Glimmerdeep's entry point: the start-up sequence, the frame loop and the
// shut-down, in the order they happen.
#include "app.h"
#include "command_line.h"
#include "frame_loop.h"
#include "startup.h"
#include "version.h"

#include <GLFW/glfw3.h>

#include <iostream>
#include <random>

int main(int argc, char** argv)
{
    const CommandLineOptions options = parseCommandLine(argc, argv, std::cerr);
    if (options.help || options.version) {
        if (options.help)
            printUsage(std::cout);
        else
            std::cout << "Glimmerdeep " << gameVersion << std::endl;
        return 0;
    }
    std::cout << ":::::: STARTING GLIMMERDEEP  ::::::" << std::endl;

    App app;
    app.settings = loadSettings(options, std::cout);
    app.switches = initialSwitches(app.settings);

    openMainWindow(app);
    prepareRendering(app);
    app.level = buildLevel(app.renderTargets.width(), app.renderTargets.height());
    settleCapturedCursor(app);
    app.simulation = makeSimulation(app.settings.camera, app.startCursor);
    app.particles.seed(std::random_device{}());

    runFrameLoop(app);

    // Everything that owns a GL object goes while the context still exists.
    releaseRendering(app);
    glfwTerminate();
    return 0;
}
