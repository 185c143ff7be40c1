// Keeping a point inside the well: a horizontal circle around the well's
// axis (x = z = 0) and nothing else. World units.
#pragma once

#include <glm/vec3.hpp>

// The point with its (x, z) pulled onto the circle of the given radius when
// it lies outside it; y is never touched.
glm::vec3 clampToWellRadius(glm::vec3 point, float radius);
