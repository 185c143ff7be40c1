#include "command_line.h"

#include <cstring>

namespace {

const char* const cameraOption = "--init_camera";
const char* const rendererOption = "--init_renderer";

// "--init_camera=path" for a known option: the form many programs accept.
bool isJoinedForm(const char* argument, const char* option)
{
    const size_t length = std::strlen(option);
    return std::strncmp(argument, option, length) == 0 && argument[length] == '=';
}

void reportUnknown(const char* argument, std::ostream& errors)
{
    errors << "Unknown option " << argument << " ignored.";
    for (const char* option : {cameraOption, rendererOption}) {
        if (isJoinedForm(argument, option))
            errors << " Give the file after a space: " << option << " PATH";
    }
    errors << std::endl;
}

}  // namespace

CommandLineOptions parseCommandLine(int argc, const char* const* argv, std::ostream& errors)
{
    CommandLineOptions options;
    bool previousTookValue = false;
    for (int i = 1; i < argc; ++i) {
        std::optional<std::string>* target = nullptr;
        if (std::strcmp(argv[i], cameraOption) == 0)
            target = &options.cameraSettingsPath;
        else if (std::strcmp(argv[i], rendererOption) == 0)
            target = &options.rendererSettingsPath;
        const bool isValue = previousTookValue;
        previousTookValue = false;
        if (!target) {
            // A value may start with '-' too; it was meant for the option before it.
            if (argv[i][0] == '-' && !isValue)
                reportUnknown(argv[i], errors);
            continue;
        }
        if (i + 1 < argc) {
            *target = argv[i + 1];
            previousTookValue = true;
        } else {
            errors << "Option " << argv[i] << " needs a file path after it; using the default file." << std::endl;
        }
    }
    return options;
}
