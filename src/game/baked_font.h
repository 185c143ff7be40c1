// The HUD's font as tools/font_atlas baked it: a distance field of every
// printable ASCII character in one atlas texture, and where each character
// lies in it and sits on the line. Atlas pixels, rows counted from the top,
// as the texture stores them. The table itself (font_atlas_glyphs.cpp) is
// written by the tool together with the atlas and is never edited by hand.
#pragma once

#include <array>
#include <cstdint>

inline constexpr char firstBakedCharacter = ' ';
inline constexpr char lastBakedCharacter = '~';
inline constexpr int bakedCharacterCount = lastBakedCharacter - firstBakedCharacter + 1;

struct BakedGlyph {
    float advance = 0.0f;  // pen movement to the next character
    std::int16_t x = 0, y = 0;           // the cell's top-left corner in the atlas
    std::int16_t width = 0, height = 0;  // 0 for a blank such as the space
    std::int16_t left = 0, top = 0;      // that corner from the pen on the baseline, y down
};

struct BakedFont {
    int atlasWidth = 0;
    int atlasHeight = 0;
    float lineHeight = 0.0f;     // ascent plus descent: the size the font was baked at
    float ascent = 0.0f;         // from the top of a line down to its baseline
    float distanceRange = 0.0f;  // from the outline out to where the field reaches 0
    std::array<BakedGlyph, bakedCharacterCount> glyphs{};
};

// The field's value on the outline, as a texture reads it (128 of 255);
// it rises inwards and falls outwards.
inline constexpr float bakedOutlineValue = 128.0f / 255.0f;

extern const BakedFont atlasFont;
