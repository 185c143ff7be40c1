// The HUD's geometry.
#include "game/hud_layout.h"

#include "game/baked_font.h"
#include "game/text_layout.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/ext/scalar_constants.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr int heartRimSegments = 20;
constexpr float heartRadius = 10.0f;
constexpr glm::vec2 heartLeftCentre{20.0f, 50.0f};
constexpr glm::vec2 heartRightCentre{40.0f, 50.0f};
constexpr glm::vec2 heartTip[] = {{10.0f, 50.0f}, {50.0f, 50.0f}, {30.0f, 22.0f}};
constexpr glm::vec2 pauseBarSize{14.0f, 48.0f};
constexpr float pauseBarGap = 14.0f;
// The smallest framebuffer that shows the shapes at their full size.
constexpr float fullSizeWidth = 320.0f;
constexpr float fullSizeHeight = 240.0f;

// Line heights as shares of the framebuffer's height, or of its width where
// that is smaller, so that a tall narrow window keeps the words inside.
constexpr float smallTextShare = 0.05f;
constexpr float largeTextShare = 0.1f;
// The message's box starts this far up, above the fairy in the middle.
constexpr float messageHeightShare = 0.62f;

// A new line of `size` pixels starting with `words`; its origin is set once it is complete.
HudTextLine& newLine(HudText& text, float size, std::string_view words)
{
    HudTextLine& line = text.lines[static_cast<std::size_t>(text.count++)];
    line.size = size;
    line.append(words);
    return line;
}

float lineWidth(const HudTextLine& line)
{
    return textWidth(atlasFont, line.text(), line.size);
}

// How far a line's pixels reach beyond its box: the outline, the smoothing
// at its edge and the snap to whole pixels.
float outlineReach(float lineSize)
{
    return lineSize * textOutlineWidth + 2.0f;
}

// 1 from the full-size framebuffer up, else the share of it this one has.
float shapeScale(float width, float height)
{
    return std::min({1.0f, width / fullSizeWidth, height / fullSizeHeight});
}

float pauseSignTop(float width, float height)
{
    return 0.5f * (height + pauseBarSize.y * shapeScale(width, height));
}

}  // namespace

void HudTextLine::append(std::string_view words)
{
    const std::size_t room = characters.size() - static_cast<std::size_t>(length);
    const std::size_t count = std::min(room, words.size());
    std::copy_n(words.data(), count, characters.data() + length);
    length += static_cast<int>(count);
}

void HudTextLine::appendNumber(long long value)
{
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    append(std::string_view(digits, static_cast<std::size_t>(end.ptr - digits)));
}

void HudTextLine::appendSeconds(double seconds)
{
    const long long tenths = std::llround(std::clamp(seconds, 0.0, 1e9) * 10.0);
    appendNumber(tenths / 10);
    append(".");
    appendNumber(tenths % 10);
    append(" s");
}

HudMessage nextHudMessage(HudMessage current, int ringPassed, bool powerRanOut, double runTime)
{
    if (powerRanOut)
        return {HudMessageKind::outOfPower, 0, runTime};
    if (ringPassed >= 0)
        return {HudMessageKind::ringPassed, ringPassed + 1, runTime};
    return current;
}

HudText hudText(const HudStatus& status, float width, float height)
{
    const float unit = std::min(width, height);
    const float small = unit * smallTextShare;
    const float large = unit * largeTextShare;
    const float margin = small * 0.5f;
    const float top = height - margin - small;
    HudText text;

    HudTextLine& rings = newLine(text, small, "Rings ");
    rings.appendNumber(status.ringsPassed);
    rings.append(" / ");
    rings.appendNumber(status.ringCount);
    rings.origin = {margin, top};

    HudTextLine& clock = newLine(text, small, "");
    clock.appendSeconds(status.runTime);
    clock.origin = {width - margin - lineWidth(clock), top};

    const bool messageShown = status.message.kind != HudMessageKind::none &&
                              status.runTime - status.message.shownAt < hudMessageSeconds;
    HudTextLine* middle = nullptr;
    if (status.end == RunEnd::lost) {
        middle = &newLine(text, large, "Game over");
    } else if (status.end == RunEnd::won) {
        middle = &newLine(text, large, "You made it! ");
        middle->appendSeconds(status.runTime);
    } else if (messageShown && status.message.kind == HudMessageKind::outOfPower) {
        middle = &newLine(text, large, "Out of power!");
    } else if (messageShown) {
        middle = &newLine(text, large, "Ring ");
        middle->appendNumber(status.message.ring);
    }
    if (middle) {
        // A long result on a narrow screen shrinks to fit between the margins.
        middle->size *= std::min(1.0f, (width - 2.0f * margin) / lineWidth(*middle));
        // In a very low window the pause sign would reach into it: it moves
        // up, a pixel clear of the sign.
        const float clearOfSign = pauseSignTop(width, height) + outlineReach(middle->size) + 1.0f;
        const float bottom = std::max(height * messageHeightShare, clearOfSign);
        middle->origin = {0.5f * (width - lineWidth(*middle)), bottom};
    }

    if (status.paused) {
        HudTextLine& paused = newLine(text, small, "Paused");
        const float besideSign = (pauseBarSize.x + 1.5f * pauseBarGap) * shapeScale(width, height);
        paused.origin = {0.5f * width + besideSign, 0.5f * (height - small)};
    }
    return text;
}

glm::vec4 hudTextBounds(const HudTextLine& line)
{
    const float grow = outlineReach(line.size);
    return {line.origin.x - grow, line.origin.y - grow, line.origin.x + lineWidth(line) + grow,
            line.origin.y + line.size + grow};
}

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

glm::mat4 heartModel(float width, float height)
{
    return glm::scale(glm::mat4(1.0f), glm::vec3(shapeScale(width, height)));
}

glm::mat4 powerBarModel(float width, float height, float powerShare)
{
    const float scale = shapeScale(width, height);
    const float left = 0.5f * (width - powerBarWidth * scale);
    const glm::mat4 placed = glm::translate(glm::mat4(1.0f), glm::vec3(left, powerBarBottom * scale, 0.0f));
    const float filled = powerShare * powerBarWidth;
    return glm::scale(placed, glm::vec3(filled * scale, powerBarHeight * scale, 1.0f));
}

glm::mat4 pauseBarModel(int bar, float width, float height)
{
    const float scale = shapeScale(width, height);
    const glm::vec2 size = pauseBarSize * scale;
    const float gap = pauseBarGap * scale;
    const float left = 0.5f * width - size.x - 0.5f * gap + bar * (size.x + gap);
    const glm::mat4 placed = glm::translate(glm::mat4(1.0f), glm::vec3(left, 0.5f * (height - size.y), 0.0f));
    return glm::scale(placed, glm::vec3(size, 1.0f));
}
