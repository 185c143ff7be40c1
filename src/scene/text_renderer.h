// The HUD's words on the GPU: the font atlas, an empty vertex array whose
// quads the vertex stage makes from the vertex number, and a buffer of one
// instance per character, all made once. Each frame lays out the HUD's lines
// into a batch it owns, uploads it and draws it in one instanced call. What
// the lines say and where they go is the game's HUD layout. Without a
// readable atlas it draws nothing, and the game plays on without words.
#pragma once

#include "framework/gl_handle.h"
#include "framework/shader.h"
#include "framework/texture.h"
#include "game/hud_layout.h"
#include "game/text_layout.h"

#include <string>

inline constexpr const char* fontAtlasPath = "assets/textures/font_atlas.dds";

class TextRenderer {
public:
    // Loads the text program and the atlas at `atlasPath`; a missing or
    // unreadable atlas gets the texture loader's line.
    explicit TextRenderer(const std::string& atlasPath = fontAtlasPath);

    // Draws the lines of `status` blended over the bound framebuffer of
    // `width` by `height` pixels, without depth test; leaves the depth test
    // enabled, as the HUD does. Nothing without an atlas or without area.
    void draw(const HudStatus& status, int width, int height);
    // The same for lines laid out elsewhere, such as a menu's.
    void drawLines(const HudText& text, int width, int height);

    bool hasFont() const { return atlas.valid(); }

private:
    Shader shader;
    Texture atlas;
    VertexArrayHandle vertexArray;
    BufferHandle instances;
    GlyphBatch batch;
};
