// Projection matrix and the framebuffer's aspect ratio.
#include "game/projection.h"

#include <glm/ext/matrix_clip_space.hpp>

float aspectRatio(int framebufferWidth, int framebufferHeight)
{
    if (framebufferWidth <= 0 || framebufferHeight <= 0)
        return 1.0f;
    return static_cast<float>(framebufferWidth) / static_cast<float>(framebufferHeight);
}

glm::mat4 projectionMatrix(float fovRadians, float aspect, float near, float far)
{
    return glm::perspectiveRH_NO(fovRadians, aspect, near, far);
}
