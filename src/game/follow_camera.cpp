// Follow camera placement.
#include "game/follow_camera.h"

#include "game/mouse_look.h"

#include <glm/ext/matrix_transform.hpp>
#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

#include <algorithm>
#include <cmath>

namespace {

float horizontalLength(glm::vec3 point)
{
    return glm::length(glm::vec2(point.x, point.z));
}

// How far one may go from `from` along the unit direction `direction` before
// leaving the circle of `radius` around the axis; `from` lies inside it.
float reachInsideCircle(glm::vec2 from, glm::vec2 direction, float radius)
{
    const float along = glm::dot(from, direction);
    const float discriminant = along * along - glm::dot(from, from) + radius * radius;
    return std::max(0.0f, -along + std::sqrt(std::max(discriminant, 0.0f)));
}

// The camera where the plain follow position would leave the well or come
// too close. The eye stays in the vertical plane of the heading, `back`
// units behind the fairy and `up` above it: first as far back as the wall
// allows, then further back or higher until it is far enough away.
CameraPose constrainedFollowCamera(glm::vec3 fairy, glm::vec3 front)
{
    const glm::vec2 behind = -glm::normalize(glm::vec2(front.x, front.z));
    const float room = reachInsideCircle(glm::vec2(fairy.x, fairy.z), behind, cameraHorizontalLimit);
    const float lowest = cameraLowestHeight - fairy.y;
    const float closest = closestFollowDistance * closestFollowDistance;

    float back = std::min(followDistance * std::sqrt(1.0f - front.y * front.y), room);
    float up = std::max(followHeight - followDistance * front.y, lowest);
    if (back * back + up * up < closest)
        back = std::min(room, std::sqrt(std::max(closest - up * up, 0.0f)));
    if (back * back + up * up < closest) {
        // Below the fairy while the floor allows it, otherwise over it.
        const float vertical = std::sqrt(closest - back * back);
        up = up < 0.0f && -vertical >= lowest ? -vertical : vertical;
    }

    CameraPose pose;
    pose.eye = fairy + glm::vec3(behind.x * back, up, behind.y * back);
    const glm::vec3 target = followCameraTarget(fairy);
    const glm::vec3 forward = glm::normalize(target - pose.eye);
    // The heading's right axis is level and square to the view, so the
    // screen's up is defined even when the camera looks straight down.
    const glm::vec3 screenUp = glm::cross(rightFromFront(front), forward);
    pose.view = glm::lookAtRH(pose.eye, target, screenUp);
    return pose;
}

}  // namespace

glm::vec3 followCameraTarget(glm::vec3 fairyPosition)
{
    return fairyPosition + glm::vec3(0.0f, lookAtHeight, 0.0f);
}

CameraPose followCamera(glm::vec3 fairyPosition, glm::vec3 front)
{
    glm::vec3 eye = fairyPosition - front * followDistance + glm::vec3(0.0f, followHeight, 0.0f);
    eye.y = std::max(eye.y, cameraLowestHeight);
    const bool roomBehind = horizontalLength(eye) <= cameraHorizontalLimit &&
                            glm::distance(eye, fairyPosition) >= closestFollowDistance;
    if (!roomBehind)
        return constrainedFollowCamera(fairyPosition, front);
    return CameraPose{eye, glm::lookAtRH(eye, followCameraTarget(fairyPosition), worldUp)};
}
