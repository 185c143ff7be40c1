// font_atlas: bakes the HUD's font from DejaVu Sans Bold (Debian's
// fonts-dejavu-core) into assets/textures/font_atlas.dds and the table of
// where each character lies, src/game/font_atlas_glyphs.cpp. Run by hand
// when the font or its size changes; both files are committed and a test
// checks that they still match this program.
// Usage: font_atlas <output root> [font file]
#include "dds_writer.h"
#include "glyph_baker.h"
#include "glyph_table.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <utility>

namespace {

const char* const defaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const atlasPath = "assets/textures/font_atlas.dds";
const char* const tablePath = "src/game/font_atlas_glyphs.cpp";

bool writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::cerr << "Usage: font_atlas <output root> [font file]" << std::endl;
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::string fontPath = argc == 3 ? argv[2] : defaultFontPath;
    std::ifstream fontFile(fontPath, std::ios::binary);
    const std::string fontBytes{std::istreambuf_iterator<char>(fontFile), std::istreambuf_iterator<char>()};
    const std::optional<BakedAtlas> atlas = bakeAtlas(fontBytes, BakeOptions{});
    if (!atlas) {
        std::cerr << "font_atlas: cannot bake " << fontPath
                  << " (Debian: fonts-dejavu-core): no font, a character missing, or too big for the atlas"
                  << std::endl;
        return 1;
    }
    const std::string fontName = std::filesystem::path(fontPath).filename().string();
    for (const auto& [path, bytes] :
         {std::pair{root / atlasPath, encodeDDS(atlas->image, BlockFormat::dxt5)},
          std::pair{root / tablePath, glyphTableSource(atlas->font, fontName, atlasPath)}}) {
        if (!writeBytes(path, bytes)) {
            std::cerr << "font_atlas: cannot write " << path.string() << std::endl;
            return 1;
        }
    }
    return 0;
}
