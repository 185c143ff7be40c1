// icon_generator: draws the game's icon at the sizes the desktop asks for
// and writes them as glimmerdeep-<size>.png into a directory. Run by hand
// when the picture changes; the output is committed under packaging/icons
// and a test checks that it still matches this program.
// Usage: icon_generator <output dir>
#include "icon_painter.h"
#include "png_writer.h"
#include "common/generator_output.h"

#include <string>

namespace {

// The hicolor theme's usual sizes, as cmake/install.cmake lists them for the install.
const int iconSizes[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace

int main(int argc, char** argv)
{
    const auto folder = outputFolder(argc, argv, "Usage: icon_generator <output dir>");
    if (!folder)
        return 2;
    for (const int size : iconSizes) {
        const std::string name = "glimmerdeep-" + std::to_string(size) + ".png";
        if (!writeOutputFile(*folder, name, encodePNG(paintIcon(size))))
            return 1;
    }
    return 0;
}
