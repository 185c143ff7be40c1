// texture_generator: draws the game's six DDS textures into a directory.
// Run by hand when the pictures change; the output is committed under
// assets/textures and a test checks that it still matches this program.
// Usage: texture_generator <output dir>
#include "dds_writer.h"
#include "painters.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

struct TextureJob {
    const char* fileName;
    RgbaImage (*painter)(int size);
    int size;
    BlockFormat format;
};

const TextureJob jobs[] = {
    {"lightblue.dds", paintLightBlue, 256, BlockFormat::dxt1},
    {"glitteryellow.dds", paintGlitterYellow, 256, BlockFormat::dxt1},
    {"wellwall.dds", paintWellWall, 512, BlockFormat::dxt1},
    {"lightpurple.dds", paintLightPurple, 256, BlockFormat::dxt1},
    {"green.dds", paintGreenCloth, 256, BlockFormat::dxt1},
    {"cloud.dds", paintCloud, 256, BlockFormat::dxt5},
};

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
        std::cerr << "Usage: texture_generator <output dir>" << std::endl;
        return 2;
    }
    const std::filesystem::path outputDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(outputDir, error);
    for (const TextureJob& job : jobs) {
        const std::filesystem::path path = outputDir / job.fileName;
        if (!writeBytes(path, encodeDDS(job.painter(job.size), job.format))) {
            std::cerr << "Could not write " << path.string() << std::endl;
            return 1;
        }
    }
    return 0;
}
