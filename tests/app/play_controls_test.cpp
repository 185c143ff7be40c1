// Pausing, restarting and the gamepad, driven through the frame seam with
// scripted input records: no sleeps, no real devices.
#include "support/game_fixture.h"
#include "../game/frames.h"

#include "app/callbacks.h"
#include "app/frame_loop.h"
#include "app/gamepad.h"
#include "game/course.h"

#include <GLFW/glfw3.h>

#include <algorithm>

namespace {

// Joystick 1 as the test sets it: plugged in or not, and what is pressed.
bool padPlugged = false;
GLFWgamepadstate pad{};

}  // namespace

// Interposed for this test program, which has no real joysticks anyway.
extern "C" int glfwJoystickIsGamepad(int joystick)
{
    return padPlugged && joystick == GLFW_JOYSTICK_1;
}

extern "C" int glfwGetGamepadState(int joystick, GLFWgamepadstate* state)
{
    if (glfwJoystickIsGamepad(joystick))
        *state = pad;
    return glfwJoystickIsGamepad(joystick);
}

namespace {

class PlayControls : public GameFixture {
protected:
    PlayControls()
    {
        windowWidth = 96;
        windowHeight = 72;
    }

    void release(int key) { onKey(window, key, 0, GLFW_RELEASE, 0); }

    // One frame at `at` with the cursor at (x, y).
    void frameWithCursor(double at, double x, double y)
    {
        FrameInput input;
        input.events = std::exchange(app.pendingEvents, WindowEvents{});
        input.clock = at;
        input.cursor = {x, y};
        input.framebufferWidth = windowWidth;
        input.framebufferHeight = windowHeight;
        runFrame(app, input, console);
        clock = at;
    }
};

}  // namespace

// However long a pause lasts, and whatever the cursor does meanwhile, the
// run is where it was: no drain, no movement, no ring, no ageing sparks, and
// the pause's time never reaches the game as a step. The HUD shows the sign.
TEST_F(PlayControls, APauseOfAnyLengthChangesNothingInTheRun)
{
    frames(10, 60.0, holding(true));
    const GameState before = app.simulation.state;
    const double runTime = app.simulation.runTime;
    const std::vector<glm::vec4> sparks = app.particles.instanceStaging();
    release(GLFW_KEY_P);
    frameWithCursor(clock + 1.0, 500.0, -300.0);
    frameWithCursor(clock + 3600.0, 900.0, 40.0);
    // The middle of the right bar, where the layout puts it.
    const glm::vec4 barCentre = pauseBarModel(1, windowWidth, windowHeight) * glm::vec4(0.5f, 0.5f, 0.0f, 1.0f);
    const glm::vec3 rightBar = meanColor(static_cast<int>(barCentre.x) - 1, static_cast<int>(barCentre.y) - 1, 2, 2);
    EXPECT_GT(std::min({rightBar.r, rightBar.g, rightBar.b}), 200.0f) << "the pause sign's right bar";
    EXPECT_EQ(app.simulation.state.fairyPosition, before.fairyPosition);
    EXPECT_EQ(app.simulation.state.fairyPower, before.fairyPower);
    EXPECT_EQ(app.simulation.state.cameraYaw, before.cameraYaw);
    EXPECT_EQ(app.simulation.runTime, runTime);
    EXPECT_EQ(app.particles.instanceStaging(), sparks);

    // Capturing the cursor again on resuming moves it once more.
    release(GLFW_KEY_P);
    frameWithCursor(clock + 1.0 / 60.0, 100.0, 60.0);
    EXPECT_NEAR(app.simulation.state.fairyPower, before.fairyPower - 20.0f / 60.0f, 1e-3f);
    EXPECT_EQ(app.simulation.state.cameraYaw, before.cameraYaw) << "the cursor's jumps around the pause turn nothing";
    EXPECT_EQ(console.str(), "Paused\nResumed\n");
}

// Losing the focus pauses and gives the cursor back; getting it back keeps
// the pause; a click resumes and captures the cursor again.
TEST_F(PlayControls, LosingTheFocusPausesAndAClickResumes)
{
    onWindowFocus(window, GLFW_TRUE);
    onWindowFocus(window, GLFW_FALSE);
    frames(1);
    EXPECT_TRUE(app.switches.paused);
    EXPECT_EQ(glfwGetInputMode(window, GLFW_CURSOR), GLFW_CURSOR_NORMAL);
    onWindowFocus(window, GLFW_TRUE);
    frames(1);
    EXPECT_TRUE(app.switches.paused);
    onMouseButton(window, GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE, 0);
    frames(1);
    EXPECT_FALSE(app.switches.paused);
    EXPECT_EQ(glfwGetInputMode(window, GLFW_CURSOR), GLFW_CURSOR_DISABLED);
    EXPECT_EQ(console.str(), "Paused\nResumed\n");
    // A click in a running game does nothing.
    onMouseButton(window, GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE, 0);
    frames(1);
    EXPECT_FALSE(app.switches.paused);
}

// After the loss the run stands still, as the end screen shows it, until R
// starts it again at once, seen through the camera it was played with: every
// field a run changes as it was at the start, the sparks gone, the run's
// clock at zero and running again.
TEST_F(PlayControls, AfterTheEndTheRunStandsStillUntilRestartedFromItsStart)
{
    app.settings.camera.yaw = 0.5f;
    const Simulation start = makeSimulation(app.settings.camera, app.simulation.lastCursor, app.course);
    frames(20, 60.0, holding(true));
    app.simulation.state.fairyPosition = app.course.rings[0];
    frames(1);
    app.simulation.freeCameraMode = true;
    frames(5, 60.0, holding(true));
    app.simulation.freeCameraMode = false;  // power drains only while the fairy is followed
    app.simulation.state.fairyPower = 0.1f;
    SimulationStep last;
    for (int i = 0; i < 600 && last.end == RunEnd::none; ++i)
        last = frame(clock + 1.0 / 60.0);
    ASSERT_EQ(last.end, RunEnd::lost);
    ASSERT_TRUE(app.simulation.state.ringPassed[0]);
    app.simulation.freeCameraMode = true;
    const Simulation ended = app.simulation;
    frames(30, 60.0, holding(true));
    EXPECT_EQ(app.simulation.state.fairyPosition, ended.state.fairyPosition);
    EXPECT_EQ(app.simulation.runTime, ended.runTime);

    release(GLFW_KEY_R);
    frame(clock);  // a step of no time
    const GameState& state = app.simulation.state;
    EXPECT_EQ(state.fairyPosition.x, start.state.fairyPosition.x);
    EXPECT_EQ(state.fairyPower, start.state.fairyPower);
    EXPECT_EQ(state.ringPassed, start.state.ringPassed);
    EXPECT_EQ(state.totalPassed, 0);
    EXPECT_FALSE(state.falling);
    EXPECT_EQ(state.cameraYaw, 0.5f);
    EXPECT_EQ(app.simulation.freeCamera.position, start.freeCamera.position);
    EXPECT_TRUE(app.simulation.freeCameraMode);
    EXPECT_EQ(app.simulation.runTime, 0.0);
    EXPECT_EQ(app.particles.aliveCount(), 0u);
    EXPECT_NE(console.str().find("Restarted\n"), std::string::npos);
    frames(2, 60.0, holding(true));
    EXPECT_EQ(app.runEnd, RunEnd::none);
    EXPECT_NEAR(app.simulation.runTime, 2.0 / 60.0, 1e-6);
}

// A pad, its stick pushed forward, flies and pauses beside the keyboard
// while the window has the focus; it plays other applications too, so
// without the focus it does nothing. It may be plugged in and pulled out
// during the run, and a button pressed where this window could not see it
// does nothing when let go.
TEST_F(PlayControls, AGamepadPlaysOnlyWithTheFocusAndMayComeAndGo)
{
    const struct { const char* when; bool plugged, focused, startDown, paused; } steps[] = {
        {"a pad", true, true, false, false},
        {"the focus lost, Start pressed elsewhere", true, false, true, true},
        {"Start let go elsewhere", true, false, false, true},
        {"the focus back with Start down", true, true, true, true},
        {"Start let go", true, true, false, true},
        {"Start down", true, true, true, true},
        {"pulled out", false, true, true, true},
        {"plugged in again, Start up", true, true, false, true},
        {"Start down", true, true, true, true},
        {"Start let go: resumed", true, true, false, false},
    };
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -1.0f;
    for (const auto& step : steps) {
        padPlugged = step.plugged;
        pad.buttons[GLFW_GAMEPAD_BUTTON_START] = step.startDown;
        onWindowFocus(window, step.focused);
        const FrameInput input = readFrameInput(app);
        runFrame(app, input, console);
        EXPECT_EQ(input.keys.forward, step.plugged && step.focused) << step.when;
        EXPECT_EQ(app.switches.paused, step.paused) << step.when;
    }
    padPlugged = false;
}

TEST(Gamepad, SticksFlyAndLookBeyondTheirDeadZoneAndButtonsActOnRelease)
{
    PadState pad;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -0.2f;  // inside the dead zone
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.9f;
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = 1.0f;
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y] = -0.625f;  // halfway beyond the dead zone
    PadInput input = mapGamepad(pad, pad, 0.5);
    EXPECT_FALSE(input.keys.forward || input.keys.back || input.keys.left);
    EXPECT_TRUE(input.keys.right);
    EXPECT_DOUBLE_EQ(input.look.x, 500.0);  // full right: 1000 units a second, for half a second
    EXPECT_DOUBLE_EQ(input.look.y, -250.0);
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -0.8f;
    EXPECT_TRUE(mapGamepad(pad, pad, 0.5).keys.forward);
    EXPECT_EQ(mapGamepad(pad, pad, 0.5).releases.keyReleaseCount, 0) << "a stick held steps a menu no further";
    const WindowEvents pushed = mapGamepad(pad, PadState{}, 0.5).releases;
    ASSERT_EQ(pushed.keyReleaseCount, 2) << "a push from the middle steps a menu once";
    EXPECT_EQ(pushed.keyReleases[0], GLFW_KEY_UP);
    EXPECT_EQ(pushed.keyReleases[1], GLFW_KEY_RIGHT);

    PadState held = pad;
    held.buttons[GLFW_GAMEPAD_BUTTON_START] = true;
    held.buttons[GLFW_GAMEPAD_BUTTON_BACK] = true;
    held.buttons[GLFW_GAMEPAD_BUTTON_Y] = true;
    held.buttons[GLFW_GAMEPAD_BUTTON_A] = true;
    EXPECT_EQ(mapGamepad(held, pad, 0.1).releases.keyReleaseCount, 0) << "pressing does nothing yet";
    const WindowEvents released = mapGamepad(pad, held, 0.1).releases;
    ASSERT_EQ(released.keyReleaseCount, 4);
    EXPECT_EQ(released.keyReleases[0], GLFW_KEY_P);
    EXPECT_EQ(released.keyReleases[1], GLFW_KEY_R);
    EXPECT_EQ(released.keyReleases[2], GLFW_KEY_C);
    EXPECT_EQ(released.keyReleases[3], GLFW_KEY_ENTER) << "A chooses in a menu";
}
