// screenshots: draws the README's pictures after the first second of a run
// in a hidden window: the fairy's glow at each bloom resolution, full, half
// and quarter side by side, at 320 by 240; and the same moment at 1280 by
// 720 at quality full and as quality = auto draws it on llvmpipe, a part of
// each at its real pixels, side by side. Needs an X display (xvfb-run will
// do); `make screenshots` runs it.
//   screenshots [glow.png [quality.png]]
//   (defaults docs/bloom_resolutions.png and docs/quality_full_auto.png)
#include "app/app.h"
#include "app/frame.h"
#include "app/render_quality.h"
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
constexpr int largeWidth = 1280;
constexpr int largeHeight = 720;
// The part of each large picture shown: the fairy, its trail and the HUD's bar.
constexpr int cropLeft = 400, cropTop = 240, cropWidth = 480, cropHeight = 480;
constexpr BloomResolution resolutions[] = {BloomResolution::full, BloomResolution::half, BloomResolution::quarter};

GLFWwindow* openHiddenWindow()
{
    if (!glfwInit())
        return nullptr;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(largeWidth, largeHeight, "glimmerdeep screenshots", nullptr, nullptr);
    if (!window)
        return nullptr;
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    return glewInit() == GLEW_OK ? window : nullptr;
}

// A new run drawn with these settings at this size, its first second at 30 frames a second.
void playFirstSecond(App& app, const RendererSettings& renderer, int width, int height)
{
    app.settings.renderer = renderer;
    app.renderTargets.create(width, height, renderer.bloom_resolution, renderer.render_scale);
    glViewport(0, 0, width, height);  // the lower left of the window, as large as the larger picture
    app.simulation = makeSimulation(app.settings.camera, CursorPosition{});
    app.particles.seed(7);
    app.lastFrameTime = 0.0;
    for (int frame = 1; frame <= 30; ++frame) {
        FrameInput input;
        input.events = std::exchange(app.pendingEvents, WindowEvents{});
        input.clock = frame / 30.0;
        input.cursor = app.simulation.lastCursor;
        input.framebufferWidth = width;
        input.framebufferHeight = height;
        runFrame(app, input, std::cout);
    }
}

// The window's picture, `width` by `height` pixels from the top left at
// (x, y), copied into `image`, RGB rows `stride` pixels wide, top row first,
// from column `left` on. The frame drew `drawnHeight` rows.
void copyPicture(std::vector<unsigned char>& image, int stride, int left, int drawnHeight, int x = 0, int y = 0,
                 int width = ::width, int height = ::height)
{
    std::vector<unsigned char> rgb(width * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, drawnHeight - y - height, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    for (int row = 0; row < height; ++row)
        std::copy_n(&rgb[(height - 1 - row) * width * 3], width * 3, &image[(row * stride + left) * 3]);
}

bool writePicture(const char* path, const std::vector<unsigned char>& image, int width, int height)
{
    if (!stbi_write_png(path, width, height, 3, image.data(), width * 3)) {
        std::cerr << "screenshots: cannot write " << path << std::endl;
        return false;
    }
    std::cout << "Wrote " << path << std::endl;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
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
        RendererSettings renderer;
        renderer.bloom_resolution = resolutions[i];
        playFirstSecond(app, renderer, width, height);
        copyPicture(image, stride, static_cast<int>(i) * width, height);
    }
    RendererSettings automatic;
    automatic.quality = RenderQuality::automatic;
    const RendererSettings qualities[] = {
        RendererSettings{}, chooseRenderQuality("llvmpipe", largeWidth, largeHeight, automatic, {}).settings};
    std::vector<unsigned char> pair(2 * cropWidth * cropHeight * 3);
    for (int i = 0; i < 2; ++i) {
        playFirstSecond(app, qualities[i], largeWidth, largeHeight);
        copyPicture(pair, 2 * cropWidth, i * cropWidth, largeHeight, cropLeft, cropTop, cropWidth, cropHeight);
    }
    releaseRendering(app);
    // No glfwTerminate: the process ends next, and unloading the GL driver
    // first would hide its own blocks from a sanitizer build's leak check.
    glfwDestroyWindow(window);
    const bool written = writePicture(argc > 1 ? argv[1] : "docs/bloom_resolutions.png", image, stride, height) &&
                         writePicture(argc > 2 ? argv[2] : "docs/quality_full_auto.png", pair, 2 * cropWidth, cropHeight);
    return written ? 0 : 1;
}
