#include "frame_loop.h"

#include <GLFW/glfw3.h>

#include <iostream>
#include <utility>

namespace {

// Set when a joystick comes or goes; the next frame looks for gamepads again.
bool joysticksChanged = true;

void onJoystick(int, int)
{
    joysticksChanged = true;
}

bool isHeld(GLFWwindow* window, int key)
{
    return glfwGetKey(window, key) == GLFW_PRESS;
}

// The first joystick GLFW maps as a gamepad, or -1.
int connectedGamepad()
{
    for (int joystick = GLFW_JOYSTICK_1; joystick <= GLFW_JOYSTICK_LAST; ++joystick) {
        if (glfwJoystickIsGamepad(joystick))
            return joystick;
    }
    return -1;
}

// The gamepad's sticks and buttons added to what the keyboard and mouse did.
void addGamepad(App& app, FrameInput& input)
{
    if (joysticksChanged) {
        joysticksChanged = false;
        app.gamepads.connected = connectedGamepad() >= 0;
        app.gamepads.previous = PadState{};
    }
    GLFWgamepadstate raw;
    if (!app.gamepads.connected || !glfwGetGamepadState(connectedGamepad(), &raw))
        return;
    PadState now;
    for (std::size_t i = 0; i < now.buttons.size(); ++i)
        now.buttons[i] = raw.buttons[i] == GLFW_PRESS;
    for (std::size_t i = 0; i < now.axes.size(); ++i)
        now.axes[i] = raw.axes[i];
    const PadInput pad = mapGamepad(now, app.gamepads.previous, frameTimeStep(input.clock, app.lastFrameTime));
    app.gamepads.previous = now;
    input.keys.forward = input.keys.forward || pad.keys.forward;
    input.keys.back = input.keys.back || pad.keys.back;
    input.keys.left = input.keys.left || pad.keys.left;
    input.keys.right = input.keys.right || pad.keys.right;
    app.gamepads.look.x += pad.look.x;
    app.gamepads.look.y += pad.look.y;
    for (int i = 0; i < pad.releases.keyReleaseCount; ++i)
        input.events.release(pad.releases.keyReleases[i]);
}

}  // namespace

FrameInput readFrameInput(App& app)
{
    GLFWwindow* window = app.window;
    FrameInput input;
    input.events = std::exchange(app.pendingEvents, WindowEvents{});
    input.clock = glfwGetTime();
    input.keys.forward = isHeld(window, GLFW_KEY_W);
    input.keys.back = isHeld(window, GLFW_KEY_S);
    input.keys.left = isHeld(window, GLFW_KEY_A);
    input.keys.right = isHeld(window, GLFW_KEY_D);
    input.keys.up = isHeld(window, GLFW_KEY_SPACE);
    input.keys.down = isHeld(window, GLFW_KEY_LEFT_SHIFT);
    glfwGetCursorPos(window, &input.cursor.x, &input.cursor.y);
    glfwGetFramebufferSize(window, &input.framebufferWidth, &input.framebufferHeight);
    addGamepad(app, input);
    input.cursor.x += app.gamepads.look.x;
    input.cursor.y += app.gamepads.look.y;
    return input;
}

void runFrameLoop(App& app)
{
    glfwSetJoystickCallback(onJoystick);
    app.lastFrameTime = glfwGetTime();
    while (!glfwWindowShouldClose(app.window)) {
        glfwPollEvents();
        const FrameResult result = runFrame(app, readFrameInput(app), std::cout);
        if (result.closeRequested)
            glfwSetWindowShouldClose(app.window, GLFW_TRUE);
        glfwSwapBuffers(app.window);
    }
}
