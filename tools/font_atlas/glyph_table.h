// The baked font's numbers as the C++ source of the game's table
// (src/game/font_atlas_glyphs.cpp), so the game reads no metrics file.
#pragma once

#include "game/baked_font.h"

#include <string>

// `fontName` and `atlasPath` go into the file's header comment.
std::string glyphTableSource(const BakedFont& font, const std::string& fontName, const std::string& atlasPath);
