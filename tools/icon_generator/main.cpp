// icon_generator: draws the game's icon at the sizes the desktop asks for
// and writes them as glimmerdeep-<size>.png into a directory. Run by hand
// when the picture changes; the output is committed under packaging/icons
// and a test checks that it still matches this program.
// Usage: icon_generator <output dir>
#include "icon_painter.h"
#include "png_writer.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

// The hicolor theme's usual sizes; the install puts each under <size>x<size>/apps.
const int iconSizes[] = {16, 24, 32, 48, 64, 128, 256};

bool writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "Usage: icon_generator <output dir>" << std::endl;
        return 2;
    }
    const std::filesystem::path outputDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(outputDir, error);
    for (const int size : iconSizes) {
        const std::filesystem::path path = outputDir / ("glimmerdeep-" + std::to_string(size) + ".png");
        if (!writeBytes(path, encodePNG(paintIcon(size)))) {
            std::cerr << "Could not write " << path.string() << std::endl;
            return 1;
        }
    }
    return 0;
}
