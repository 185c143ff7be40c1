// The follow camera's eye: behind and above the fairy, kept inside the well
// and above the water. World units.
#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

inline constexpr float followDistance = 3.0f;      // along -front
inline constexpr float followHeight = 1.5f;
inline constexpr float lookAtHeight = 0.5f;        // above the fairy's centre
inline constexpr float cameraHorizontalLimit = 4.9f;
inline constexpr float cameraLowestHeight = 0.3f;

glm::vec3 followCameraEye(glm::vec3 fairyPosition, glm::vec3 front);
glm::vec3 followCameraTarget(glm::vec3 fairyPosition);
glm::mat4 followCameraViewMatrix(glm::vec3 eye, glm::vec3 fairyPosition);
