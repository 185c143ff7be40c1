// The free-fly camera: a detached eye moved by W, S, A, D, Space and Left
// Shift, kept across mode switches. No limits: it may leave the well.
// World units, seconds, radians.
#pragma once

#include "game/input.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

inline constexpr float freeCameraSpeed = 5.0f;

struct FreeCamera {
    glm::vec3 position{0.0f, 10.0f, 0.0f};
    float yaw = 0.0f;
    float pitch = 0.0f;
    bool firstMouse = true;  // set again each time the mode is switched on
};

// Front, right, plus up/down for Space and Left Shift; not normalised.
glm::vec3 freeCameraSteering(const HeldKeys& keys, glm::vec3 front, glm::vec3 right);

void moveFreeCamera(FreeCamera& camera, const HeldKeys& keys, glm::vec3 front, glm::vec3 right,
                    float deltaTime);

glm::mat4 freeCameraViewMatrix(const FreeCamera& camera, glm::vec3 front, glm::vec3 right);
