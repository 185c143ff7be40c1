#include "gamepad.h"

#include <GLFW/glfw3.h>

#include <cmath>

namespace {

// An axis with its dead zone taken out: 0 inside it, then from 0 to 1.
double deflection(float axis)
{
    const float beyond = std::abs(axis) - stickDeadZone;
    if (beyond <= 0.0f)
        return 0.0;
    return std::copysign(std::fmin(beyond / (1.0f - stickDeadZone), 1.0f), axis);
}

}  // namespace

PadInput mapGamepad(const PadState& now, const PadState& before, double deltaTime)
{
    PadInput input;
    const double moveX = deflection(now.axes[GLFW_GAMEPAD_AXIS_LEFT_X]);
    const double moveY = deflection(now.axes[GLFW_GAMEPAD_AXIS_LEFT_Y]);
    input.keys.forward = moveY < 0.0;
    input.keys.back = moveY > 0.0;
    input.keys.left = moveX < 0.0;
    input.keys.right = moveX > 0.0;
    // Right and up move the view as the mouse moving right and up would.
    input.look.x = deflection(now.axes[GLFW_GAMEPAD_AXIS_RIGHT_X]) * lookUnitsPerSecond * deltaTime;
    input.look.y = deflection(now.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y]) * lookUnitsPerSecond * deltaTime;

    const struct {
        int button;
        int key;
    } shortcuts[] = {{GLFW_GAMEPAD_BUTTON_START, GLFW_KEY_P},       {GLFW_GAMEPAD_BUTTON_BACK, GLFW_KEY_R},
                     {GLFW_GAMEPAD_BUTTON_Y, GLFW_KEY_C},           {GLFW_GAMEPAD_BUTTON_A, GLFW_KEY_ENTER},
                     {GLFW_GAMEPAD_BUTTON_B, GLFW_KEY_BACKSPACE},   {GLFW_GAMEPAD_BUTTON_DPAD_UP, GLFW_KEY_UP},
                     {GLFW_GAMEPAD_BUTTON_DPAD_DOWN, GLFW_KEY_DOWN}, {GLFW_GAMEPAD_BUTTON_DPAD_LEFT, GLFW_KEY_LEFT},
                     {GLFW_GAMEPAD_BUTTON_DPAD_RIGHT, GLFW_KEY_RIGHT}};
    for (const auto& shortcut : shortcuts) {
        if (before.buttons[shortcut.button] && !now.buttons[shortcut.button])
            input.releases.release(shortcut.key);
    }
    // The left stick pushed past half way steps through a menu as the arrow keys do, once per push.
    const struct {
        int axis;
        float sign;
        int key;
    } pushes[] = {{GLFW_GAMEPAD_AXIS_LEFT_Y, -1.0f, GLFW_KEY_UP},
                  {GLFW_GAMEPAD_AXIS_LEFT_Y, 1.0f, GLFW_KEY_DOWN},
                  {GLFW_GAMEPAD_AXIS_LEFT_X, -1.0f, GLFW_KEY_LEFT},
                  {GLFW_GAMEPAD_AXIS_LEFT_X, 1.0f, GLFW_KEY_RIGHT}};
    for (const auto& push : pushes) {
        if (push.sign * now.axes[push.axis] > 0.5f && push.sign * before.axes[push.axis] <= 0.5f)
            input.releases.release(push.key);
    }
    return input;
}
