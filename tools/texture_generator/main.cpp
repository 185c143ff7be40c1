// texture_generator: draws the game's six DDS textures into a directory.
// Run by hand when the pictures change; the output is committed under
// assets/textures and a test checks that it still matches this program.
// Usage: texture_generator <output dir>
#include "dds_writer.h"
#include "painters.h"
#include "common/generator_output.h"

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

}  // namespace

int main(int argc, char** argv)
{
    const auto folder = outputFolder(argc, argv, "Usage: texture_generator <output dir>");
    if (!folder)
        return 2;
    for (const TextureJob& job : jobs) {
        if (!writeOutputFile(*folder, job.fileName, encodeDDS(job.painter(job.size), job.format)))
            return 1;
    }
    return 0;
}
