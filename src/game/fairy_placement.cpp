// Placement of the fairy's visible parts.
#include "game/fairy_placement.h"

#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

FairyPlacement placeFairy(glm::vec3 fairyPosition, glm::vec3 front, float cameraYaw)
{
    const glm::vec3 behind = -glm::normalize(glm::vec3(front.x, 0.0f, front.z)) * wingBackOffset;
    FairyPlacement placement;
    placement.bodyPosition = fairyPosition;
    placement.lightPosition = fairyPosition;
    placement.wingPosition = fairyPosition + behind + glm::vec3(0.0f, wingLift, 0.0f);
    placement.wingRotationDegrees = glm::vec3(0.0f, glm::degrees(cameraYaw), 0.0f);
    return placement;
}
