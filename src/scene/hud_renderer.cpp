// The HUD's uploads and its draws of a frame: five, seven while paused.
#include "scene/hud_renderer.h"

#include "game/hud_layout.h"

#include <glm/ext/matrix_transform.hpp>

#include <algorithm>
#include <utility>

namespace {

constexpr glm::vec2 unitQuad[] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};

// A vertex array with one static buffer of 2-float positions at attribute 0.
void uploadShape(const glm::vec2* positions, std::size_t count, VertexArrayHandle& vertexArray,
                 BufferHandle& buffer)
{
    vertexArray = makeVertexArray();
    buffer = makeBuffer();
    glBindVertexArray(vertexArray.get());
    glBindBuffer(GL_ARRAY_BUFFER, buffer.get());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(glm::vec2)), positions, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(glm::vec2), nullptr);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

}  // namespace

HudRenderer::HudRenderer() : uiShader("assets/shaders/ui.vert", "assets/shaders/ui.frag")
{
    uploadShape(unitQuad, std::size(unitQuad), quad.vertexArray, quad.positions);
    const std::array<glm::vec2, heartVertexCount> heartShape = heartVertices();
    uploadShape(heartShape.data(), heartShape.size(), heart.vertexArray, heart.positions);
}

void HudRenderer::drawMenuPanel(const MenuLayout& menu, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    uiShader.use();
    uiShader.setUniform("u_ortho", hudProjection(static_cast<float>(width), static_cast<float>(height)));
    glBindVertexArray(quad.vertexArray.get());
    const std::pair<glm::vec4, glm::vec4> boxes[] = {{menu.panel, menuPanelColor}, {menu.focusBox, menuFocusColor}};
    for (const auto& [box, color] : boxes) {
        uiShader.setUniform("u_color", color);
        const glm::mat4 placed = glm::translate(glm::mat4(1.0f), glm::vec3(box.x, box.y, 0.0f));
        uiShader.setUniform("u_model", glm::scale(placed, glm::vec3(box.z - box.x, box.w - box.y, 1.0f)));
        glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    }
    glBindVertexArray(0);
    glEnable(GL_DEPTH_TEST);
}

void HudRenderer::draw(int width, int height, float powerShare, bool paused)
{
    // A minimised window has no pixels, and its projection would divide by zero.
    if (width <= 0 || height <= 0)
        return;
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const glm::mat4 projection = hudProjection(w, h);
    const float share = std::clamp(powerShare, 0.0f, 1.0f);

    glDisable(GL_DEPTH_TEST);
    // The bar is translucent over the picture, whatever an earlier pass left.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    uiShader.use();
    uiShader.setUniform("u_ortho", projection);
    glBindVertexArray(quad.vertexArray.get());
    uiShader.setUniform("u_color", powerBarBackgroundColor);
    uiShader.setUniform("u_model", powerBarModel(w, h, 1.0f));
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    uiShader.setUniform("u_color", powerBarFillColor);
    uiShader.setUniform("u_model", powerBarModel(w, h, share));
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    if (paused) {
        uiShader.setUniform("u_color", pauseSignColor);
        for (int bar = 0; bar < 2; ++bar) {
            uiShader.setUniform("u_model", pauseBarModel(bar, w, h));
            glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
        }
    }
    glBindVertexArray(0);
    glEnable(GL_DEPTH_TEST);

    // The heart passes the depth test: it lies at z = 0 and the composite
    // cleared the window's depth to the far value.
    uiShader.use();
    uiShader.setUniform("u_ortho", projection);
    uiShader.setUniform("u_color", heartColor);
    uiShader.setUniform("u_model", heartModel(w, h));
    glBindVertexArray(heart.vertexArray.get());
    glDrawArrays(GL_TRIANGLE_FAN, 0, heartFanVertexCount);
    glDrawArrays(GL_TRIANGLE_FAN, heartFanVertexCount, heartFanVertexCount);
    glDrawArrays(GL_TRIANGLES, 2 * heartFanVertexCount, 3);
    glBindVertexArray(0);
}
