// Pen arithmetic over the baked glyph table.
#include "game/text_layout.h"

#include <cmath>

namespace {

const BakedGlyph& glyphOf(const BakedFont& font, char character)
{
    if (character < firstBakedCharacter || character > lastBakedCharacter)
        character = '?';
    return font.glyphs[static_cast<std::size_t>(character - firstBakedCharacter)];
}

}  // namespace

float textWidth(const BakedFont& font, std::string_view text, float lineHeight)
{
    float advance = 0.0f;
    for (const char character : text)
        advance += glyphOf(font, character).advance;
    return advance * lineHeight / font.lineHeight;
}

void appendText(GlyphBatch& batch, const BakedFont& font, std::string_view text, glm::vec2 origin,
                float lineHeight)
{
    const float scale = lineHeight / font.lineHeight;
    const float baseline = std::round(origin.y + lineHeight - font.ascent * scale);
    float pen = std::round(origin.x);
    const glm::vec2 atlasSize(static_cast<float>(font.atlasWidth), static_cast<float>(font.atlasHeight));
    for (const char character : text) {
        const BakedGlyph& glyph = glyphOf(font, character);
        if (glyph.width > 0 && batch.count < maxGlyphQuads) {
            const float left = pen + glyph.left * scale;
            const float top = baseline - glyph.top * scale;
            GlyphQuad& quad = batch.quads[static_cast<std::size_t>(batch.count++)];
            quad.screen = {left, top - glyph.height * scale, left + glyph.width * scale, top};
            quad.atlas = {glyph.x / atlasSize.x, (glyph.y + glyph.height) / atlasSize.y,
                          (glyph.x + glyph.width) / atlasSize.x, glyph.y / atlasSize.y};
        }
        pen += glyph.advance * scale;
    }
}
