// Where the HUD's shapes and words go: the power bar centred near the bottom
// edge and the heart in the bottom-left corner, which keep their pixel size
// in all but the smallest windows; the rings passed and the run's time along
// the top, a message in the middle and the word beside the pause sign, which
// grow with the window so that they stay legible on any screen. Framebuffer
// pixels with the origin at the bottom-left. Plain arithmetic; the scene's
// HUD and text renderers draw from it.
#pragma once

#include "game/simulation.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <string_view>

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

// The bar, the heart and the pause sign keep their pixel size in a
// framebuffer of 320 by 240 and up. A smaller one shrinks the three alike,
// so that the heart stays clear of the bar and the sign of both.

// Where the heart's vertices go in a framebuffer of this size.
glm::mat4 heartModel(float width, float height);
// The unit quad placed as the bar's fill for `powerShare` (0 empty to 1
// full, which covers the background), centred near the bottom edge of a
// framebuffer of this size and growing from the bar's left edge.
glm::mat4 powerBarModel(float width, float height, float powerShare);
// The unit quad placed as one of the pause sign's two upright bars (0 the
// left, 1 the right), centred in a framebuffer of this size.
glm::mat4 pauseBarModel(int bar, float width, float height);

// The words: a light fill with a dark outline, legible over the sky, the
// stone and the glow alike. The outline's width is a share of the line height.
inline constexpr glm::vec4 textFillColor{1.0f, 0.94f, 0.72f, 1.0f};
inline constexpr glm::vec4 textOutlineColor{0.06f, 0.04f, 0.1f, 1.0f};
inline constexpr float textOutlineWidth = 0.05f;

// How long a message stays in the middle, seconds of the run.
inline constexpr double hudMessageSeconds = 1.5;

enum class HudMessageKind { none, ringPassed, outOfPower };

struct HudMessage {
    HudMessageKind kind = HudMessageKind::none;
    int ring = 0;          // the ring's number, from 1
    double shownAt = 0.0;  // the run's time when it appeared
};

// The message after a frame that passed the ring `ringPassed` (an index, or
// -1) or emptied the power, at `runTime`; running out of power outweighs a ring.
HudMessage nextHudMessage(HudMessage current, int ringPassed, bool powerRanOut, double runTime);

// What the words say.
struct HudStatus {
    int ringsPassed = 0;
    double runTime = 0.0;  // seconds
    HudMessage message;
    bool paused = false;
    RunEnd end = RunEnd::none;  // the result replaces any message
    int ringCount = 0;          // rings of the course
};

struct HudTextLine {
    std::array<char, 32> characters{};
    int length = 0;
    glm::vec2 origin{0.0f};  // bottom-left corner of the line's box
    float size = 0.0f;       // the box's height, the font's line height

    std::string_view text() const { return {characters.data(), static_cast<std::size_t>(length)}; }
    // Characters beyond the line's capacity are dropped.
    void append(std::string_view words);
    void appendNumber(long long value);
    void appendSeconds(double seconds);  // "10.6 s": tenths, rounded
};

struct HudText {
    std::array<HudTextLine, 12> lines{};  // the menus need the most
    int count = 0;
};

// The lines for a framebuffer of this size: "Rings N / 15" at the top left,
// the run's time at the top right, the result or the message of the moment
// above the middle, and "Paused" beside the pause sign. Allocates nothing.
HudText hudText(const HudStatus& status, float width, float height);
// Where a line's pixels lie, outline included: left, bottom, right, top.
glm::vec4 hudTextBounds(const HudTextLine& line);
