// screenshots: draws the README's pictures in a hidden 320 by 240 window:
// the fairy's glow at each bloom resolution, full, half and quarter side by
// side, after the first second of a run; and the ghost of a best run flying
// beside the fairy. Needs an X display (xvfb-run will do); `make
// screenshots` runs it.
//   screenshots [glow.png [ghost.png]]    (default docs/bloom_resolutions.png docs/ghost.png)
#include "app/app.h"
#include "app/frame.h"
#include "app/startup.h"
#include "framework/framework.h"
#include "framework/render_state.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <utility>
#include <vector>

namespace {

constexpr int width = 320;
constexpr int height = 240;
constexpr BloomResolution resolutions[] = {BloomResolution::full, BloomResolution::half, BloomResolution::quarter};

GLFWwindow* openHiddenWindow()
{
    if (!glfwInit())
        return nullptr;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(width, height, "glimmerdeep screenshots", nullptr, nullptr);
    if (!window)
        return nullptr;
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    return glewInit() == GLEW_OK ? window : nullptr;
}

// A new run with this glow, its first `seconds` at 30 frames a second.
void play(App& app, BloomResolution bloom, double seconds = 1.0)
{
    app.settings.renderer.bloom_resolution = bloom;
    app.renderTargets.create(width, height, bloom);
    app.simulation = makeSimulation(app.settings.camera, CursorPosition{});
    app.particles.seed(7);
    app.lastFrameTime = 0.0;
    for (int frame = 1; frame <= static_cast<int>(seconds * 30.0); ++frame) {
        FrameInput input;
        input.events = std::exchange(app.pendingEvents, WindowEvents{});
        input.clock = frame / 30.0;
        input.cursor = app.simulation.lastCursor;
        input.framebufferWidth = width;
        input.framebufferHeight = height;
        runFrame(app, input, std::cout);
    }
}

// A best run that set off to the left at once, seen where its recording
// ends, beside a fairy that has not moved yet.
Replay bestRunToTheLeft(const App& app)
{
    Replay best;
    best.header = {"screenshots", app.settings.camera, 7, CursorPosition{}, std::nullopt};
    HeldKeys left;
    left.left = true;
    best.frames.assign(6, ReplayFrame{1.0f / 30.0f, left, CursorPosition{}, width, height, {}});
    return best;
}

bool writePicture(const char* path, const std::vector<unsigned char>& image, int stride)
{
    if (!stbi_write_png(path, stride, height, 3, image.data(), stride * 3)) {
        std::cerr << "screenshots: cannot write " << path << std::endl;
        return false;
    }
    std::cout << "Wrote " << path << std::endl;
    return true;
}

// The window's picture copied into `image`, RGB rows `stride` pixels wide,
// top row first, from column `left` on.
void copyPicture(std::vector<unsigned char>& image, int stride, int left)
{
    std::vector<unsigned char> rgb(width * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    for (int y = 0; y < height; ++y)
        std::copy_n(&rgb[(height - 1 - y) * width * 3], width * 3, &image[(y * stride + left) * 3]);
}

}  // namespace

int main(int argc, char** argv)
{
    const char* output = argc > 1 ? argv[1] : "docs/bloom_resolutions.png";
    const char* ghostOutput = argc > 2 ? argv[2] : "docs/ghost.png";
    GLFWwindow* window = openHiddenWindow();
    if (!window) {
        std::fputs("screenshots: no GL 4.3 context (is DISPLAY set? xvfb-run will do)\n", stderr);
        return 1;
    }
    App app;
    app.window = window;
    glfwSetWindowUserPointer(window, &app);
    app.settings.window.width = width;
    app.settings.window.height = height;
    app.switches = initialSwitches(app.settings);
    app.switches.isFullscreen = false;
    applyInitialRenderState(app.settings.renderer);
    app.renderTargets.create(width, height);
    initFramework(true);
    app.level = buildLevel(width, height);

    const int stride = width * static_cast<int>(std::size(resolutions));
    std::vector<unsigned char> image(stride * height * 3);
    for (size_t i = 0; i < std::size(resolutions); ++i) {
        play(app, resolutions[i]);
        copyPicture(image, stride, static_cast<int>(i) * width);
    }
    std::vector<unsigned char> ghostImage(width * height * 3);
    app.playerMode = true;
    addGhost(*app.level);
    app.ghost.emplace(bestRunToTheLeft(app));
    play(app, BloomResolution::full, 1.0);
    copyPicture(ghostImage, width, 0);
    releaseRendering(app);
    // No glfwTerminate: the process ends next, and unloading the GL driver
    // first would hide its own blocks from a sanitizer build's leak check.
    glfwDestroyWindow(window);
    return writePicture(output, image, stride) && writePicture(ghostOutput, ghostImage, width) ? 0 : 1;
}
