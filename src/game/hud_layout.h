// Where the HUD's shapes go: the power bar centred near the bottom edge and
// the heart in the bottom-left corner, in framebuffer pixels with the origin
// at the bottom-left, so both keep their pixel size when the window changes.
// Plain arithmetic; the scene's HUD renderer draws from it.
#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <array>

inline constexpr float powerBarWidth = 200.0f;
inline constexpr float powerBarHeight = 20.0f;
inline constexpr float powerBarBottom = 30.0f;

inline constexpr glm::vec4 powerBarBackgroundColor{0.2f, 0.2f, 0.2f, 0.8f};
inline constexpr glm::vec4 powerBarFillColor{0.4f, 0.8f, 1.0f, 0.9f};
inline constexpr glm::vec4 heartColor{1.0f, 0.0f, 0.0f, 1.0f};

inline constexpr glm::vec4 pauseSignColor{1.0f, 1.0f, 1.0f, 0.85f};

inline constexpr int heartVertexCount = 47;
inline constexpr int heartFanVertexCount = 22;

// Two circle fans around (20, 50) and (40, 50), radius 10, each a centre
// and 21 rim points closing the fan, then the heart's downward point.
std::array<glm::vec2, heartVertexCount> heartVertices();
// The pixel projection: x 0..width, y 0..height, z -1..1.
glm::mat4 hudProjection(float width, float height);
// Left edge of the bar that centres it; negative below 200 pixels.
float powerBarLeft(float width);
// The unit quad placed as the bar's fill for `fairyPower` (0 to full, which
// covers the background), growing from the bar's left edge.
glm::mat4 powerBarModel(float left, float fairyPower);
// The unit quad placed as one of the pause sign's two upright bars (0 the
// left, 1 the right), centred in a framebuffer of this size.
glm::mat4 pauseBarModel(int bar, float width, float height);
