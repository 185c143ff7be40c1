#include "app/app.h"
#include "app/callbacks.h"
#include "app/frame.h"
#include "app/player_menu.h"
#include "support/gl_test_context.h"

#include <dlfcn.h>

#include <sstream>
#include <utility>

namespace {

// A machine without monitors: while set, GLFW's monitor list is empty.
bool monitorsHidden = false;

}  // namespace

// Interposed for this test program: the game's calls reach these first.
extern "C" GLFWmonitor** glfwGetMonitors(int* count)
{
    using Real = GLFWmonitor** (*)(int*);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "glfwGetMonitors"));
    if (!monitorsHidden)
        return real(count);
    *count = 0;
    return nullptr;
}

extern "C" GLFWmonitor* glfwGetPrimaryMonitor()
{
    using Real = GLFWmonitor* (*)();
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "glfwGetPrimaryMonitor"));
    return monitorsHidden ? nullptr : real();
}

class KeyCallback : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (HasFatalFailure())
            return;
        app.window = window;
        app.settings.window.width = 320;
        app.settings.window.height = 240;
        app.simulation = makeSimulation(app.settings.camera, CursorPosition{}, app.course);
        glfwSetWindowUserPointer(window, &app);
    }

    // A release as GLFW delivers it, then the frame that takes it; with no
    // level built, nothing is drawn.
    void release(int key)
    {
        onKey(window, key, 0, GLFW_RELEASE, 0);
        FrameInput input;
        input.events = std::exchange(app.pendingEvents, WindowEvents{});
        runFrame(app, input, console);
    }

    App app;
    std::ostringstream console;
};

// Keys act on release only (what each does is GameStep's below), and a key
// without a name (a media key) not at all, so no recording holds it; Escape
// asks the window to close, but with the menus only "Quit" does; C keeps the
// cursor captured whichever way it switches.
TEST_F(KeyCallback, ReleasesActEscapeClosesAndTheCameraKeyKeepsTheCursorCaptured)
{
    onKey(window, GLFW_KEY_F1, 0, GLFW_PRESS, 0);
    onKey(window, GLFW_KEY_F1, 0, GLFW_REPEAT, 0);
    onKey(window, GLFW_KEY_UNKNOWN, 0, GLFW_RELEASE, 0);
    EXPECT_EQ(app.pendingEvents.keyReleaseCount, 0);

    for (bool freeCamera : {true, false}) {
        glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
        release(GLFW_KEY_C);
        EXPECT_EQ(app.simulation.freeCameraMode, freeCamera);
        EXPECT_EQ(glfwGetInputMode(window, GLFW_CURSOR), GLFW_CURSOR_DISABLED);
    }
    EXPECT_FALSE(glfwWindowShouldClose(window));
    release(GLFW_KEY_ESCAPE);
    EXPECT_TRUE(glfwWindowShouldClose(window));

    glfwSetWindowShouldClose(window, GLFW_FALSE);
    app.playerMode = true;
    showTitle(app, std::nullopt);
    release(GLFW_KEY_ESCAPE);
    EXPECT_FALSE(glfwWindowShouldClose(window)) << "Escape on the title focuses Quit";
    release(GLFW_KEY_ENTER);
    EXPECT_TRUE(glfwWindowShouldClose(window));
}

// Without a monitor F3 keeps the window and its switch windowed, so the next
// F3 goes fullscreen rather than "back" (and back again is the soak's and,
// with the window's size and place, the shortcuts replay's).
TEST_F(KeyCallback, F3GoesFullscreenAndBackOnlyWithAMonitor)
{
    monitorsHidden = true;
    release(GLFW_KEY_F3);
    monitorsHidden = false;
    EXPECT_FALSE(app.switches.isFullscreen);
    EXPECT_EQ(glfwGetWindowMonitor(window), nullptr);
    release(GLFW_KEY_F3);
    EXPECT_TRUE(app.switches.isFullscreen);
    EXPECT_NE(glfwGetWindowMonitor(window), nullptr);
}

// Each shortcut flips its own switch and nothing else, both ways, decided
// from the frame's record alone, without a window; keys the game leaves
// unbound change nothing, nor does G, the ghost's, outside player mode.
TEST(GameStep, EachShortcutFlipsExactlyItsSwitch)
{
    App app;
    app.simulation = makeSimulation(CameraSettings{}, CursorPosition{}, app.course);
    // Every switch, in the order of the keys below.
    const auto flags = [&app] {
        const Switches& s = app.switches;
        return std::vector<bool>{s.overlayEnabled, s.particlesEnabled, s.waterAnimationEnabled,
                                 app.simulation.freeCameraMode, s.isFullscreen, s.paused, s.normals,
                                 s.texcoords, s.wireframe, s.backfaceCulling, s.ghostShown};
    };
    const auto release = [&](int key) {
        FrameInput input;
        input.events.release(key);
        stepGame(app, input);
        return flags();
    };
    const std::vector<bool> start = flags();
    for (int key : {GLFW_KEY_W, GLFW_KEY_SPACE, GLFW_KEY_4, GLFW_KEY_F4, GLFW_KEY_ESCAPE, GLFW_KEY_UNKNOWN, GLFW_KEY_G})
        EXPECT_EQ(release(key), start) << "key " << key;
    app.playerMode = true;
    const int keys[] = {GLFW_KEY_1, GLFW_KEY_2, GLFW_KEY_3, GLFW_KEY_C, GLFW_KEY_F3,
                        GLFW_KEY_P, GLFW_KEY_N, GLFW_KEY_T, GLFW_KEY_F1, GLFW_KEY_F2, GLFW_KEY_G};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        std::vector<bool> flipped = start;
        flipped[i] = !flipped[i];
        EXPECT_EQ(release(keys[i]), flipped) << "key " << keys[i];
        EXPECT_EQ(release(keys[i]), start) << "key " << keys[i] << " twice";
    }
}
