// Distance fields from stb_truetype, packed on shelves.
#include "glyph_baker.h"

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

#include <algorithm>
#include <cstdint>

namespace {

// The field's byte on the outline (bakedOutlineValue).
constexpr unsigned char outlineValue = 128;

int roundUpToBlock(int pixels)
{
    return (pixels + 3) / 4 * 4;
}

// Copies one glyph's field into the alpha of its cell, white underneath.
void paintCell(RgbaImage& image, const unsigned char* field, const BakedGlyph& glyph)
{
    for (int row = 0; row < glyph.height; ++row) {
        for (int column = 0; column < glyph.width; ++column) {
            const size_t at = (static_cast<size_t>(glyph.y + row) * static_cast<size_t>(image.width) +
                               static_cast<size_t>(glyph.x + column)) * 4;
            image.pixels[at + 3] = field[row * glyph.width + column];
        }
    }
}

}  // namespace

std::optional<BakedAtlas> bakeAtlas(const std::string& fontBytes, const BakeOptions& options)
{
    const auto* data = reinterpret_cast<const unsigned char*>(fontBytes.data());
    stbtt_fontinfo info;
    if (fontBytes.size() < 12 || stbtt_GetFontOffsetForIndex(data, 0) != 0 || !stbtt_InitFont(&info, data, 0))
        return std::nullopt;

    BakedAtlas atlas;
    atlas.image.width = options.atlasSize;
    atlas.image.height = options.atlasSize;
    // White everywhere; where no glyph lies the field is 0, far outside every outline.
    atlas.image.pixels.assign(static_cast<size_t>(options.atlasSize) * static_cast<size_t>(options.atlasSize) * 4,
                              255);
    for (size_t i = 3; i < atlas.image.pixels.size(); i += 4)
        atlas.image.pixels[i] = 0;

    const float scale = stbtt_ScaleForPixelHeight(&info, options.lineHeight);
    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);
    BakedFont& font = atlas.font;
    font.atlasWidth = options.atlasSize;
    font.atlasHeight = options.atlasSize;
    font.lineHeight = options.lineHeight;
    font.ascent = static_cast<float>(ascent) * scale;
    font.distanceRange = static_cast<float>(options.distanceRange);

    // Shelves from the top-left, in character order.
    int penX = 0, shelfY = 0, shelfHeight = 0;
    for (int i = 0; i < bakedCharacterCount; ++i) {
        const int character = firstBakedCharacter + i;
        if (stbtt_FindGlyphIndex(&info, character) == 0)
            return std::nullopt;
        BakedGlyph& glyph = font.glyphs[static_cast<size_t>(i)];
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info, character, &advance, &bearing);
        glyph.advance = static_cast<float>(advance) * scale;

        int width = 0, height = 0, left = 0, top = 0;
        unsigned char* field = stbtt_GetCodepointSDF(&info, scale, character, options.distanceRange, outlineValue,
                                                     static_cast<float>(outlineValue) / options.distanceRange,
                                                     &width, &height, &left, &top);
        if (!field)
            continue;  // a blank: only its advance counts
        const int cellWidth = roundUpToBlock(width), cellHeight = roundUpToBlock(height);
        if (penX + cellWidth > options.atlasSize) {
            penX = 0;
            shelfY += shelfHeight;
            shelfHeight = 0;
        }
        if (cellWidth > options.atlasSize || shelfY + cellHeight > options.atlasSize) {
            stbtt_FreeSDF(field, nullptr);
            return std::nullopt;
        }
        glyph.x = static_cast<std::int16_t>(penX);
        glyph.y = static_cast<std::int16_t>(shelfY);
        glyph.width = static_cast<std::int16_t>(width);
        glyph.height = static_cast<std::int16_t>(height);
        glyph.left = static_cast<std::int16_t>(left);
        glyph.top = static_cast<std::int16_t>(top);
        paintCell(atlas.image, field, glyph);
        stbtt_FreeSDF(field, nullptr);
        penX += cellWidth;
        shelfHeight = std::max(shelfHeight, cellHeight);
    }
    return atlas;
}
