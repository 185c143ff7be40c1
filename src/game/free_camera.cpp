// Free-fly camera movement and view.
#include "game/free_camera.h"

#include "game/flight.h"
#include "game/mouse_look.h"

#include <glm/ext/matrix_transform.hpp>
#include <glm/geometric.hpp>

glm::vec3 freeCameraSteering(const HeldKeys& keys, glm::vec3 front, glm::vec3 right)
{
    glm::vec3 steering = steeringVector(keys, front, right);
    if (keys.up)
        steering += worldUp;
    if (keys.down)
        steering -= worldUp;
    return steering;
}

void moveFreeCamera(FreeCamera& camera, const HeldKeys& keys, glm::vec3 front, glm::vec3 right,
                    float deltaTime)
{
    const glm::vec3 steering = freeCameraSteering(keys, front, right);
    if (glm::length(steering) > 0.0f)
        camera.position += glm::normalize(steering) * freeCameraSpeed * deltaTime;
}

glm::mat4 freeCameraViewMatrix(const FreeCamera& camera, glm::vec3 front, glm::vec3 right)
{
    return glm::lookAtRH(camera.position, camera.position + front, glm::cross(right, front));
}
