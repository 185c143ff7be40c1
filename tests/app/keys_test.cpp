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

// Keys act on release only; Escape asks the window to close; C keeps the
// cursor captured whichever way it switches.
TEST_F(KeyCallback, ReleasesActEscapeClosesAndTheCameraKeyKeepsTheCursorCaptured)
{
    onKey(window, GLFW_KEY_F1, 0, GLFW_PRESS, 0);
    onKey(window, GLFW_KEY_F1, 0, GLFW_REPEAT, 0);
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

TEST_F(KeyCallback, F3GoesFullscreenAndBackToTheConfiguredWindow)
{
    release(GLFW_KEY_F3);
    EXPECT_TRUE(app.switches.isFullscreen);
    EXPECT_NE(glfwGetWindowMonitor(window), nullptr);
    release(GLFW_KEY_F3);
    EXPECT_FALSE(app.switches.isFullscreen);
    EXPECT_EQ(glfwGetWindowMonitor(window), nullptr);
    int width = 0, height = 0;
    glfwGetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
}

TEST_F(KeyCallback, F3WithoutAMonitorKeepsTheWindowAndItsSwitchWindowed)
{
    monitorsHidden = true;
    release(GLFW_KEY_F3);
    monitorsHidden = false;
    EXPECT_FALSE(app.switches.isFullscreen);
    EXPECT_EQ(glfwGetWindowMonitor(window), nullptr);
    // The next F3 now goes fullscreen rather than "back" to a window.
    release(GLFW_KEY_F3);
    EXPECT_TRUE(app.switches.isFullscreen);
    release(GLFW_KEY_F3);
}

// Each shortcut flips its own switch and nothing else, both ways; keys the
// game leaves unbound change nothing.
TEST(KeyActions, EachShortcutFlipsExactlyItsSwitch)
{
    struct Case {
        int key;
        bool* (*field)(Switches&);
    };
    const Case cases[] = {
        {GLFW_KEY_1, [](Switches& s) { return &s.overlayEnabled; }},
        {GLFW_KEY_2, [](Switches& s) { return &s.particlesEnabled; }},
        {GLFW_KEY_3, [](Switches& s) { return &s.waterAnimationEnabled; }},
        {GLFW_KEY_C, [](Switches& s) { return &s.freeCameraMode; }},
        {GLFW_KEY_F3, [](Switches& s) { return &s.isFullscreen; }},
        {GLFW_KEY_N, [](Switches& s) { return &s.renderer.normals; }},
        {GLFW_KEY_T, [](Switches& s) { return &s.renderer.texcoords; }},
        {GLFW_KEY_F1, [](Switches& s) { return &s.renderer.wireframe; }},
        {GLFW_KEY_F2, [](Switches& s) { return &s.renderer.backface_culling; }},
    };
    const auto flags = [&](Switches& s) {
        std::vector<bool> all;
        for (const Case& c : cases)
            all.push_back(*c.field(s));
        return all;
    };
    for (const Case& c : cases) {
        Switches switches;
        std::vector<bool> expected = flags(switches);
        applyKeyRelease(c.key, switches);
        *c.field(switches) = !*c.field(switches);
        EXPECT_EQ(flags(switches), expected) << "key " << c.key;
        *c.field(switches) = !*c.field(switches);
        applyKeyRelease(c.key, switches);
        EXPECT_EQ(flags(switches), expected) << "key " << c.key << " twice";
    }
    for (int key : {GLFW_KEY_W, GLFW_KEY_SPACE, GLFW_KEY_4, GLFW_KEY_F4, GLFW_KEY_UNKNOWN}) {
        Switches switches;
        const std::vector<bool> before = flags(switches);
        EXPECT_EQ(applyKeyRelease(key, switches), KeyAction::None);
        EXPECT_EQ(flags(switches), before);
    }
}
