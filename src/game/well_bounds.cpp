// Horizontal limit around the well's axis.
#include "game/well_bounds.h"

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

glm::vec3 clampToWellRadius(glm::vec3 point, float radius)
{
    const glm::vec2 horizontal(point.x, point.z);
    const float distance = glm::length(horizontal);
    if (distance <= radius)
        return point;
    const glm::vec2 onCircle = horizontal * (radius / distance);
    return {onCircle.x, point.y, onCircle.y};
}
