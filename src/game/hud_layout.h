// The HUD drawn over the finished frame: the power bar centred near the
// bottom edge and the red heart in the bottom-left corner. Framebuffer
// pixels, origin bottom-left, so both keep their pixel size on resize.
// Owns its vertex arrays and buffers (delete while the context is current);
// the ui program is shared. Hiding the overlay means not calling drawOverlay.
#pragma once

#include <GL/glew.h>
#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <memory>

class Shader;

inline constexpr float powerBarWidth = 200.0f;
inline constexpr float powerBarHeight = 20.0f;
inline constexpr float powerBarBottom = 30.0f;
inline constexpr float fullPower = 100.0f;

inline constexpr glm::vec4 powerBarBackgroundColor{0.2f, 0.2f, 0.2f, 0.8f};
inline constexpr glm::vec4 powerBarFillColor{0.4f, 0.8f, 1.0f, 0.9f};
inline constexpr glm::vec4 heartColor{1.0f, 0.0f, 0.0f, 1.0f};

inline constexpr int heartVertexCount = 47;
inline constexpr int heartFanVertexCount = 22;

// Two circle fans around (20, 50) and (40, 50), radius 10, each a centre
// and 21 rim points closing the fan, then the heart's downward point.
std::array<glm::vec2, heartVertexCount> heartVertices();
// The pixel projection: x 0..width, y 0..height, z -1..1.
glm::mat4 overlayProjection(float width, float height);
// Left edge of the bar that centres it; negative below 200 pixels.
float powerBarLeft(float width);
// The unit quad placed as the bar's fill (or background at full power).
glm::mat4 powerBarModel(float left, float fairyPower);

class Overlay {
public:
    // Loads the ui program from "assets/shaders/ui.vert" and "assets/shaders/ui.frag".
    Overlay();
    explicit Overlay(std::shared_ptr<Shader> uiShader);
    ~Overlay();

    Overlay(Overlay&& other) noexcept;
    Overlay& operator=(Overlay&& other) noexcept;
    Overlay(const Overlay&) = delete;
    Overlay& operator=(const Overlay&) = delete;

    // Draws the bar for `fairyPower` (0 to 100) and the heart into the bound
    // framebuffer of `width` by `height` pixels. Leaves the depth test
    // enabled and no vertex array bound; a zero-sized framebuffer gets nothing.
    void drawOverlay(int width, int height, float fairyPower);

    GLuint quadVertexArray() const { return quadVao; }
    GLuint quadBuffer() const { return quadVbo; }
    GLuint heartVertexArray() const { return heartVao; }
    GLuint heartBuffer() const { return heartVbo; }

private:
    void build();
    void release();

    std::shared_ptr<Shader> uiShader;
    GLuint quadVao = 0;
    GLuint quadVbo = 0;
    GLuint heartVao = 0;
    GLuint heartVbo = 0;
};
