// Overlay geometry, its uploads and the five draws of a frame.
#include "game/overlay.h"

#include "framework/gl_names.h"
#include "framework/shader.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/ext/scalar_constants.hpp>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int heartRimSegments = 20;
constexpr float heartRadius = 10.0f;
constexpr glm::vec2 heartLeftCentre{20.0f, 50.0f};
constexpr glm::vec2 heartRightCentre{40.0f, 50.0f};
constexpr glm::vec2 heartTip[] = {{10.0f, 50.0f}, {50.0f, 50.0f}, {30.0f, 22.0f}};

constexpr glm::vec2 unitQuad[] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};

// A vertex array with one static buffer of 2-float positions at attribute 0.
void uploadPositions(const glm::vec2* positions, std::size_t count, GLuint& vao, GLuint& vbo)
{
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vbo);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(glm::vec2)), positions, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(glm::vec2), nullptr);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

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

glm::mat4 overlayProjection(float width, float height)
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
    return glm::scale(placed, glm::vec3(fairyPower / fullPower * powerBarWidth, powerBarHeight, 1.0f));
}

Overlay::Overlay() : Overlay(std::make_shared<Shader>("assets/shaders/ui.vert", "assets/shaders/ui.frag"))
{
}

Overlay::Overlay(std::shared_ptr<Shader> uiShader) : uiShader(std::move(uiShader))
{
    build();
}

Overlay::~Overlay()
{
    release();
}

Overlay::Overlay(Overlay&& other) noexcept
    : uiShader(std::move(other.uiShader)), quadVao(std::exchange(other.quadVao, 0)),
      quadVbo(std::exchange(other.quadVbo, 0)), heartVao(std::exchange(other.heartVao, 0)),
      heartVbo(std::exchange(other.heartVbo, 0))
{
}

Overlay& Overlay::operator=(Overlay&& other) noexcept
{
    if (this != &other) {
        release();
        uiShader = std::move(other.uiShader);
        quadVao = std::exchange(other.quadVao, 0);
        quadVbo = std::exchange(other.quadVbo, 0);
        heartVao = std::exchange(other.heartVao, 0);
        heartVbo = std::exchange(other.heartVbo, 0);
    }
    return *this;
}

void Overlay::build()
{
    uploadPositions(unitQuad, std::size(unitQuad), quadVao, quadVbo);
    const std::array<glm::vec2, heartVertexCount> heart = heartVertices();
    uploadPositions(heart.data(), heart.size(), heartVao, heartVbo);
}

void Overlay::release()
{
    deleteVertexArray(quadVao);
    deleteBuffer(quadVbo);
    deleteVertexArray(heartVao);
    deleteBuffer(heartVbo);
}

void Overlay::drawOverlay(int width, int height, float fairyPower)
{
    // A minimised window has no pixels, and its projection would divide by zero.
    if (width <= 0 || height <= 0 || !uiShader || quadVao == 0)
        return;
    const glm::mat4 projection = overlayProjection(static_cast<float>(width), static_cast<float>(height));
    const float left = powerBarLeft(static_cast<float>(width));
    const float power = std::clamp(fairyPower, 0.0f, fullPower);

    glDisable(GL_DEPTH_TEST);
    // The bar is translucent over the picture, whatever an earlier pass left.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    uiShader->use();
    uiShader->setUniform("u_ortho", projection);
    glBindVertexArray(quadVao);
    uiShader->setUniform("u_color", powerBarBackgroundColor);
    uiShader->setUniform("u_model", powerBarModel(left, fullPower));
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    uiShader->setUniform("u_color", powerBarFillColor);
    uiShader->setUniform("u_model", powerBarModel(left, power));
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    glBindVertexArray(0);
    glEnable(GL_DEPTH_TEST);

    // The heart passes the depth test: it lies at z = 0 and the composite
    // cleared the window's depth to the far value.
    uiShader->use();
    uiShader->setUniform("u_ortho", projection);
    uiShader->setUniform("u_color", heartColor);
    uiShader->setUniform("u_model", glm::mat4(1.0f));
    glBindVertexArray(heartVao);
    glDrawArrays(GL_TRIANGLE_FAN, 0, heartFanVertexCount);
    glDrawArrays(GL_TRIANGLE_FAN, heartFanVertexCount, heartFanVertexCount);
    glDrawArrays(GL_TRIANGLES, 2 * heartFanVertexCount, 3);
    glBindVertexArray(0);
}
