// The glyph table written out as C++.
#include "glyph_table.h"

#include <cstdio>

namespace {

// Three decimals in the C locale: the same text on every machine.
std::string decimal(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3ff", static_cast<double>(value));
    return text;
}

std::string characterComment(char character)
{
    if (character == '\\')
        return "backslash";
    return std::string("'") + character + "'";
}

}  // namespace

std::string glyphTableSource(const BakedFont& font, const std::string& fontName, const std::string& atlasPath)
{
    std::string text = "// Written by tools/font_atlas from " + fontName + " together with\n// " + atlasPath +
                       "; rerun the tool instead of editing.\n"
                       "#include \"game/baked_font.h\"\n\n"
                       "// advance, x, y, width, height, left, top\n"
                       "const BakedFont atlasFont = {\n";
    text += "    " + std::to_string(font.atlasWidth) + ", " + std::to_string(font.atlasHeight) + ", " +
            decimal(font.lineHeight) + ", " + decimal(font.ascent) + ", " + decimal(font.distanceRange) + ",\n";
    text += "    {{\n";
    for (int i = 0; i < bakedCharacterCount; ++i) {
        const BakedGlyph& g = font.glyphs[static_cast<size_t>(i)];
        text += "        {" + decimal(g.advance);
        for (const int value : {g.x, g.y, g.width, g.height, g.left, g.top})
            text += ", " + std::to_string(value);
        text += "},  // " + characterComment(static_cast<char>(firstBakedCharacter + i)) + "\n";
    }
    text += "    }},\n};\n";
    return text;
}
