// The perspective projection of both cameras: right-handed, clip depth
// -1 .. 1. Field of view in radians.
#pragma once

#include <glm/mat4x4.hpp>

// Width over height; 1 for a framebuffer without area (a minimised window),
// which the app does not draw anyway.
float aspectRatio(int framebufferWidth, int framebufferHeight);

glm::mat4 projectionMatrix(float fovRadians, float aspect, float near, float far);
