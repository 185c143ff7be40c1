// Mouse look arithmetic.
#include "game/mouse_look.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace {

// No real cursor moves further in one frame; a replayed jump between two
// extreme positions would otherwise turn the view by infinity.
constexpr double maxCursorStep = 65536.0;

float limitedStep(double step)
{
    return static_cast<float>(std::clamp(step, -maxCursorStep, maxCursorStep));
}

}  // namespace

glm::vec2 cursorOffset(CursorPosition last, CursorPosition now, bool invertY)
{
    const double up = invertY ? now.y - last.y : last.y - now.y;
    return {limitedStep(now.x - last.x), limitedStep(up)};
}

LookAngles turnByCursor(LookAngles angles, glm::vec2 offset, float sensitivity)
{
    angles.yaw -= offset.x * sensitivity;
    angles.pitch = glm::clamp(angles.pitch + offset.y * sensitivity, -pitchLimit, pitchLimit);
    return angles;
}

glm::vec3 frontFromAngles(LookAngles angles)
{
    const float cosPitch = std::cos(angles.pitch);
    return glm::normalize(glm::vec3(std::sin(angles.yaw) * cosPitch, std::sin(angles.pitch),
                                    std::cos(angles.yaw) * cosPitch));
}

glm::vec3 rightFromFront(glm::vec3 front)
{
    return glm::normalize(glm::cross(front, worldUp));
}
