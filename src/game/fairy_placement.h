// Where the fairy's body, light and wings go in a frame the fairy moved:
// the body and light at its centre, the wings just behind and above it,
// turned with the camera's heading. World units; wing rotation in degrees.
#pragma once

#include <glm/vec3.hpp>

struct FairyPlacement {
    glm::vec3 bodyPosition;
    glm::vec3 lightPosition;
    glm::vec3 wingPosition;
    glm::vec3 wingRotationDegrees;  // about x, y, z
};

inline constexpr float wingBackOffset = 0.1f;
inline constexpr float wingLift = 0.05f;

// front must not be vertical; the pitch limit guarantees that.
FairyPlacement placeFairy(glm::vec3 fairyPosition, glm::vec3 front, float cameraYaw);
