// Rasterises the printable ASCII characters of a TrueType font as distance
// fields with stb_truetype and packs them into one atlas: white, with the
// field in alpha, every cell on whole 4 by 4 blocks so that no compressed
// block mixes two glyphs.
#pragma once

#include "image.h"

#include "game/baked_font.h"

#include <optional>
#include <string>

struct BakedAtlas {
    RgbaImage image;
    BakedFont font;
};

struct BakeOptions {
    int atlasSize = 512;       // width and height
    float lineHeight = 56.0f;  // pixels from the highest ascent to the lowest descent
    int distanceRange = 6;     // pixels the field reaches beyond the outline
};

// Empty when the bytes are no font, a character is missing from it, or the
// glyphs do not fit the atlas.
std::optional<BakedAtlas> bakeAtlas(const std::string& fontBytes, const BakeOptions& options);
