// The HUD's geometry.
#include "game/hud_layout.h"

#include "game/power.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/ext/scalar_constants.hpp>

#include <cmath>

namespace {

constexpr int heartRimSegments = 20;
constexpr float heartRadius = 10.0f;
constexpr glm::vec2 heartLeftCentre{20.0f, 50.0f};
constexpr glm::vec2 heartRightCentre{40.0f, 50.0f};
constexpr glm::vec2 heartTip[] = {{10.0f, 50.0f}, {50.0f, 50.0f}, {30.0f, 22.0f}};
constexpr glm::vec2 pauseBarSize{14.0f, 48.0f};
constexpr float pauseBarGap = 14.0f;

}  // namespace

std::array<glm::vec2, heartVertexCount> heartVertices()
{
    std::array<glm::vec2, heartVertexCount> vertices{};
    std::size_t next = 0;
    for (const glm::vec2 centre : {heartLeftCentre, heartRightCentre}) {
        vertices[next++] = centre;
        for (int i = 0; i <= heartRimSegments; ++i) {
            const float angle = 2.0f * glm::pi<float>() * static_cast<float>(i) / heartRimSegments;
            vertices[next++] = centre + heartRadius * glm::vec2(std::cos(angle), std::sin(angle));
        }
    }
    for (const glm::vec2 corner : heartTip)
        vertices[next++] = corner;
    return vertices;
}

glm::mat4 hudProjection(float width, float height)
{
    return glm::ortho(0.0f, width, 0.0f, height, -1.0f, 1.0f);
}

float powerBarLeft(float width)
{
    return (width - powerBarWidth) * 0.5f;
}

glm::mat4 powerBarModel(float left, float fairyPower)
{
    const glm::mat4 placed = glm::translate(glm::mat4(1.0f), glm::vec3(left, powerBarBottom, 0.0f));
    return glm::scale(placed, glm::vec3(fairyPower / maxFairyPower * powerBarWidth, powerBarHeight, 1.0f));
}

glm::mat4 pauseBarModel(int bar, float width, float height)
{
    const float left = 0.5f * width - pauseBarSize.x - 0.5f * pauseBarGap + bar * (pauseBarSize.x + pauseBarGap);
    const glm::mat4 placed = glm::translate(glm::mat4(1.0f), glm::vec3(left, 0.5f * (height - pauseBarSize.y), 0.0f));
    return glm::scale(placed, glm::vec3(pauseBarSize, 1.0f));
}
