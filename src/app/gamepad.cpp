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
    } shortcuts[] = {{GLFW_GAMEPAD_BUTTON_START, GLFW_KEY_P},
                     {GLFW_GAMEPAD_BUTTON_BACK, GLFW_KEY_R},
                     {GLFW_GAMEPAD_BUTTON_Y, GLFW_KEY_C}};
    for (const auto& shortcut : shortcuts) {
        if (before.buttons[shortcut.button] && !now.buttons[shortcut.button])
            input.releases.release(shortcut.key);
    }
    return input;
}
