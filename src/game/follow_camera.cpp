// Follow camera placement.
#include "game/follow_camera.h"

#include "game/mouse_look.h"
#include "game/well_bounds.h"

#include <glm/ext/matrix_transform.hpp>

glm::vec3 followCameraEye(glm::vec3 fairyPosition, glm::vec3 front)
{
    glm::vec3 eye = fairyPosition - front * followDistance + glm::vec3(0.0f, followHeight, 0.0f);
    // Near the wall the eye comes closer than the follow distance rather
    // than leave the well.
    eye = clampToWellRadius(eye, cameraHorizontalLimit);
    if (eye.y < cameraLowestHeight)
        eye.y = cameraLowestHeight;
    return eye;
}

glm::vec3 followCameraTarget(glm::vec3 fairyPosition)
{
    return fairyPosition + glm::vec3(0.0f, lookAtHeight, 0.0f);
}

glm::mat4 followCameraViewMatrix(glm::vec3 eye, glm::vec3 fairyPosition)
{
    return glm::lookAtRH(eye, followCameraTarget(fairyPosition), worldUp);
}
