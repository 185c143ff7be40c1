// Mouse look shared by both cameras: cursor motion turns a yaw and a pitch,
// and the pair gives the view's front and right axes. Angles in radians,
// cursor motion in screen units. Yaw 0, pitch 0 looks along +z.
#pragma once

#include "game/input.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

inline constexpr float pitchLimit = 1.5533431f;    // 89 degrees
inline constexpr glm::vec3 worldUp{0.0f, 1.0f, 0.0f};

struct LookAngles {
    float yaw = 0.0f;
    float pitch = 0.0f;
};

// (dx, dy) with dy growing upwards, although screen y grows downwards;
// `invertY` turns dy round.
glm::vec2 cursorOffset(CursorPosition last, CursorPosition now, bool invertY = false);

// Turns by the offset at `sensitivity` radians per screen unit; the pitch
// stops at the limit and the yaw is not wrapped.
LookAngles turnByCursor(LookAngles angles, glm::vec2 offset, float sensitivity);

glm::vec3 frontFromAngles(LookAngles angles);
glm::vec3 rightFromFront(glm::vec3 front);
