// The text program's set-up, the per-frame upload and the one instanced draw.
#include "scene/text_renderer.h"

#include "game/baked_font.h"

#include <cstddef>

namespace {

constexpr GLsizei instanceBytes = sizeof(GlyphQuad);

const void* byteOffset(std::size_t bytes)
{
    return reinterpret_cast<const void*>(bytes);
}

// The field's value where the outline ends: the outline's width, in atlas
// pixels, below the glyph's edge. The field falls by bakedOutlineValue over
// the atlas's distance range.
float outlineEdgeValue()
{
    const float outlineInAtlasPixels = textOutlineWidth * atlasFont.lineHeight;
    return bakedOutlineValue * (1.0f - outlineInAtlasPixels / atlasFont.distanceRange);
}

}  // namespace

TextRenderer::TextRenderer(const std::string& atlasPath)
    : shader("assets/shaders/text.vert", "assets/shaders/text.frag"),
      atlas(atlasPath, MissingTexture::reported), vertexArray(makeVertexArray()), instances(makeBuffer())
{
    // Mipmaps keep small words smooth; clamping keeps the cells on the atlas's
    // edges from sampling the opposite side.
    atlas.setSampling(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE);

    glBindVertexArray(vertexArray.get());
    glBindBuffer(GL_ARRAY_BUFFER, instances.get());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(maxGlyphQuads) * instanceBytes, nullptr, GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, instanceBytes, byteOffset(offsetof(GlyphQuad, screen)));
    glVertexAttribDivisor(0, 1);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, instanceBytes, byteOffset(offsetof(GlyphQuad, atlas)));
    glVertexAttribDivisor(1, 1);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    shader.use();
    shader.setUniform("u_atlas", 0);
    shader.setUniform("u_fillColor", textFillColor);
    shader.setUniform("u_outlineColor", textOutlineColor);
    shader.setUniform("u_edge", bakedOutlineValue);
    shader.setUniform("u_outlineEdge", outlineEdgeValue());
}

void TextRenderer::draw(const HudStatus& status, int width, int height)
{
    if (width > 0 && height > 0)
        drawLines(hudText(status, static_cast<float>(width), static_cast<float>(height)), width, height);
}

void TextRenderer::drawLines(const HudText& text, int width, int height)
{
    if (!atlas.valid() || width <= 0 || height <= 0)
        return;
    batch.count = 0;
    for (int i = 0; i < text.count; ++i) {
        const HudTextLine& line = text.lines[static_cast<std::size_t>(i)];
        appendText(batch, atlasFont, line.text(), line.origin, line.size);
    }
    if (batch.count == 0)
        return;

    glBindBuffer(GL_ARRAY_BUFFER, instances.get());
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(batch.count) * instanceBytes, batch.quads.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    shader.use();
    shader.setUniform("u_ortho", hudProjection(static_cast<float>(width), static_cast<float>(height)));
    atlas.bind(0);
    glBindVertexArray(vertexArray.get());
    glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, batch.count);
    glBindVertexArray(0);
    glEnable(GL_DEPTH_TEST);
}
