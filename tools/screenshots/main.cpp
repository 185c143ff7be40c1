// screenshots: draws the README's pictures after the first second of a run
// in one hidden window: the fairy's glow at each bloom resolution, full,
// half and quarter side by side, at 320 by 240; the same moment at 1280 by
// 720 at quality full and as quality = auto draws it on llvmpipe, a part of
// each at its real pixels, side by side; the ghost of a best run flying
// beside the fairy; and the menus of player mode (title, pause, options,
// result) at 1280 by 720 and 400 by 400, each played to with the menus' own
// keys. Each picture is drawn into the window's bottom-left corner. Needs an
// X display (xvfb-run will do); `make screenshots` runs it.
//   screenshots [glow.png [quality.png [ghost.png [menus folder]]]]
//   (defaults docs/bloom_resolutions.png, docs/quality_full_auto.png,
//   docs/ghost.png and docs/screens)
#include "app/app.h"
#include "app/frame.h"
#include "app/player_menu.h"
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
#include <initializer_list>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int width = 320;
constexpr int height = 240;
constexpr int largeWidth = 1280;  // also room for the largest menu picture
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
    app.simulation = makeSimulation(app.settings.camera, CursorPosition{}, app.course);
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

// A frame of the game at this size with these keys released; `seconds` long.
void menuFrame(App& app, int pictureWidth, int pictureHeight, std::initializer_list<int> keys = {},
               double seconds = 1.0 / 30.0, HeldKeys held = {})
{
    FrameInput input;
    input.clock = app.lastFrameTime + seconds;
    input.keys = held;
    input.cursor = app.simulation.lastCursor;
    input.framebufferWidth = pictureWidth;
    input.framebufferHeight = pictureHeight;
    for (const int key : keys)
        input.events.release(key);
    runFrame(app, input, std::cout);
}

bool saveMenuPicture(const std::string& folder, const char* screen, int pictureWidth, int pictureHeight)
{
    std::vector<unsigned char> image(pictureWidth * pictureHeight * 3);
    copyPicture(image, pictureWidth, 0, pictureHeight, 0, 0, pictureWidth, pictureHeight);
    const std::string path =
        folder + "/" + screen + "_" + std::to_string(pictureWidth) + "x" + std::to_string(pictureHeight) + ".png";
    return writePicture(path.c_str(), image, pictureWidth, pictureHeight);
}

// The title a few seconds in, then a second of flight paused, its options,
// and the result once the power has run out.
bool drawMenus(App& app, const std::string& folder, int pictureWidth, int pictureHeight)
{
    app.settings.renderer = RendererSettings{};
    app.renderTargets.create(pictureWidth, pictureHeight);
    glViewport(0, 0, pictureWidth, pictureHeight);
    app.playerMode = true;
    app.simulation = makeSimulation(app.settings.camera, CursorPosition{}, app.course);
    app.particles.seed(7);
    app.lastFrameTime = 0.0;
    showTitle(app, 42.3);
    for (int i = 0; i < 60; ++i)
        menuFrame(app, pictureWidth, pictureHeight);
    bool saved = saveMenuPicture(folder, "title", pictureWidth, pictureHeight);
    menuFrame(app, pictureWidth, pictureHeight, {GLFW_KEY_ENTER});
    for (int i = 0; i < 30; ++i)
        menuFrame(app, pictureWidth, pictureHeight, {}, 1.0 / 30.0, HeldKeys{true, false, false, false, false, false});
    menuFrame(app, pictureWidth, pictureHeight, {GLFW_KEY_P});
    saved = saveMenuPicture(folder, "pause", pictureWidth, pictureHeight) && saved;
    menuFrame(app, pictureWidth, pictureHeight, {GLFW_KEY_DOWN, GLFW_KEY_DOWN, GLFW_KEY_ENTER});
    saved = saveMenuPicture(folder, "options", pictureWidth, pictureHeight) && saved;
    menuFrame(app, pictureWidth, pictureHeight, {GLFW_KEY_ESCAPE});
    menuFrame(app, pictureWidth, pictureHeight, {GLFW_KEY_ESCAPE});
    for (int i = 0; i < 400 && app.menu.screen == MenuScreen::none; ++i)
        menuFrame(app, pictureWidth, pictureHeight, {}, 0.05);
    return saveMenuPicture(folder, "result", pictureWidth, pictureHeight) && saved;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* const glowOutput = argc > 1 ? argv[1] : "docs/bloom_resolutions.png";
    const char* const qualityOutput = argc > 2 ? argv[2] : "docs/quality_full_auto.png";
    const char* const ghostOutput = argc > 3 ? argv[3] : "docs/ghost.png";
    const std::string menusFolder = argc > 4 ? argv[4] : "docs/screens";
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
    app.level = buildLevel(app.course, width, height);

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
    bool menusDrawn = true;
    for (const auto& [pictureWidth, pictureHeight] : {std::pair{1280, 720}, std::pair{400, 400}})
        menusDrawn = drawMenus(app, menusFolder, pictureWidth, pictureHeight) && menusDrawn;
    std::vector<unsigned char> ghostImage(width * height * 3);
    app.playerMode = true;
    addGhost(*app.level);
    app.ghost.emplace(bestRunToTheLeft(app), app.course);
    app.menu = Menu{};
    app.switches.paused = false;
    playFirstSecond(app, RendererSettings{}, width, height);
    copyPicture(ghostImage, width, 0, height);
    releaseRendering(app);
    // No glfwTerminate: the process ends next, and unloading the GL driver
    // first would hide its own blocks from a sanitizer build's leak check.
    glfwDestroyWindow(window);
    const bool written = writePicture(glowOutput, image, stride, height) &&
                         writePicture(qualityOutput, pair, 2 * cropWidth, cropHeight) &&
                         writePicture(ghostOutput, ghostImage, width, height);
    return written && menusDrawn ? 0 : 1;
}
