// Strings set in the baked font: how wide a line is, and one quad per
// visible character with the atlas cell it shows. Framebuffer pixels with
// the origin at the bottom-left, atlas coordinates from 0 to 1 with v = 0 on
// the atlas's first row. Fixed capacities: laying out text allocates nothing.
#pragma once

#include "game/baked_font.h"

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <string_view>

struct GlyphQuad {
    glm::vec4 screen{0.0f};  // left, bottom, right, top
    glm::vec4 atlas{0.0f};   // u left, v bottom, u right, v top
};

inline constexpr int maxGlyphQuads = 320;  // a full options screen

struct GlyphBatch {
    std::array<GlyphQuad, maxGlyphQuads> quads{};
    int count = 0;
};

// Width in pixels of `text` on a line `lineHeight` pixels high. Characters
// the font lacks count as '?'.
float textWidth(const BakedFont& font, std::string_view text, float lineHeight);

// Appends the quads of `text` on the line whose box has its bottom-left
// corner at `origin`; quads beyond the batch's capacity are dropped. The
// baseline and the pen start on whole pixels so that the glyphs stay sharp.
void appendText(GlyphBatch& batch, const BakedFont& font, std::string_view text, glm::vec2 origin,
                float lineHeight);
