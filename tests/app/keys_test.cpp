#include "app/app.h"
#include "app/callbacks.h"
#include "app/key_actions.h"
#include "app/shortcuts.h"
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
        glfwSetWindowUserPointer(window, &app);
    }

    // A release as GLFW delivers it, then applied as the next frame does.
    void release(int key)
    {
        onKey(window, key, 0, GLFW_RELEASE, 0);
        applyWindowEvents(app, std::exchange(app.pendingEvents, WindowEvents{}), console);
    }

    App app;
    std::ostringstream console;
};

// Keys act on release only, and a key without a name (a media key) not at
// all, so no recording holds it; Escape asks the window to close; C keeps
// the cursor captured whichever way it switches.
TEST_F(KeyCallback, ReleasesActEscapeClosesAndTheCameraKeyKeepsTheCursorCaptured)
{
    onKey(window, GLFW_KEY_F1, 0, GLFW_PRESS, 0);
    onKey(window, GLFW_KEY_F1, 0, GLFW_REPEAT, 0);
    onKey(window, GLFW_KEY_UNKNOWN, 0, GLFW_RELEASE, 0);
    EXPECT_EQ(app.pendingEvents.keyReleaseCount, 0);
    release(GLFW_KEY_F1);
    EXPECT_TRUE(app.switches.renderer.wireframe);

    for (bool freeCamera : {true, false}) {
        glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
        release(GLFW_KEY_C);
        EXPECT_EQ(app.switches.freeCameraMode, freeCamera);
        EXPECT_EQ(glfwGetInputMode(window, GLFW_CURSOR), GLFW_CURSOR_DISABLED);
    }
    EXPECT_FALSE(glfwWindowShouldClose(window));
    release(GLFW_KEY_ESCAPE);
    EXPECT_TRUE(glfwWindowShouldClose(window));
}

// Without a monitor F3 keeps the window and its switch windowed, so the next
// F3 goes fullscreen rather than "back"; the one after that returns to a
// window (its size and place are the shortcuts replay's, end to end).
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
    release(GLFW_KEY_F3);
    EXPECT_FALSE(app.switches.isFullscreen);
    EXPECT_EQ(glfwGetWindowMonitor(window), nullptr);
}

// Each shortcut flips its own switch and nothing else, both ways; keys the
// game leaves unbound change nothing.
TEST(KeyActions, EachShortcutFlipsExactlyItsSwitch)
{
    const int keys[] = {GLFW_KEY_1, GLFW_KEY_2, GLFW_KEY_3, GLFW_KEY_C, GLFW_KEY_F3,
                        GLFW_KEY_P, GLFW_KEY_N, GLFW_KEY_T, GLFW_KEY_F1, GLFW_KEY_F2};
    // Every switch, the ones those keys flip first and in the same order.
    const auto flags = [](const Switches& s) {
        return std::vector<bool>{s.overlayEnabled, s.particlesEnabled, s.waterAnimationEnabled, s.freeCameraMode,
                                 s.isFullscreen, s.paused, s.renderer.normals, s.renderer.texcoords,
                                 s.renderer.wireframe, s.renderer.backface_culling, s.renderer.depthtest};
    };
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        Switches switches;
        std::vector<bool> flipped = flags(switches);
        flipped[i] = !flipped[i];
        applyKeyRelease(keys[i], switches);
        EXPECT_EQ(flags(switches), flipped) << "key " << keys[i];
        applyKeyRelease(keys[i], switches);
        EXPECT_EQ(flags(switches), flags(Switches{})) << "key " << keys[i] << " twice";
    }
    for (int key : {GLFW_KEY_W, GLFW_KEY_SPACE, GLFW_KEY_4, GLFW_KEY_F4, GLFW_KEY_UNKNOWN}) {
        Switches switches;
        EXPECT_EQ(applyKeyRelease(key, switches), KeyAction::None);
        EXPECT_EQ(flags(switches), flags(Switches{}));
    }
}
