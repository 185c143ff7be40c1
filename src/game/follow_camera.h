// The follow camera: behind and above the fairy, looking just above it, kept
// inside the well and above the water. Where the wall or the floor leaves no
// room behind the fairy, the camera comes closer and, once closer would be
// too close, swings over the fairy instead; it keeps looking along its
// heading, so the view never rolls. World units.
#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

inline constexpr float followDistance = 3.0f;      // along -front
inline constexpr float followHeight = 1.5f;
inline constexpr float lookAtHeight = 0.5f;        // above the fairy's centre
inline constexpr float cameraHorizontalLimit = 4.9f;
inline constexpr float cameraLowestHeight = 0.3f;
// Nearest the eye comes to the fairy when it has to give way: the fairy
// then stays well inside a 60-degree view and far beyond the near plane.
inline constexpr float closestFollowDistance = 1.5f;

struct CameraPose {
    glm::vec3 eye;
    glm::mat4 view;
};

glm::vec3 followCameraTarget(glm::vec3 fairyPosition);

// The eye and view for a fairy at `fairyPosition` heading along `front`
// (never vertical: the pitch limit keeps a horizontal part).
CameraPose followCamera(glm::vec3 fairyPosition, glm::vec3 front);
