#include "command_line.h"

#include <cstring>

CommandLineOptions parseCommandLine(int argc, const char* const* argv, std::ostream& errors)
{
    CommandLineOptions options;
    for (int i = 1; i < argc; ++i) {
        std::optional<std::string>* target = nullptr;
        if (std::strcmp(argv[i], "--init_camera") == 0)
            target = &options.cameraSettingsPath;
        else if (std::strcmp(argv[i], "--init_renderer") == 0)
            target = &options.rendererSettingsPath;
        if (!target)
            continue;
        if (i + 1 < argc)
            *target = argv[i + 1];
        else
            errors << "Option " << argv[i] << " needs a file path after it; using the default file." << std::endl;
    }
    return options;
}
