// The two command-line options that replace a settings file.
#pragma once

#include <optional>
#include <ostream>
#include <string>

struct CommandLineOptions {
    std::optional<std::string> cameraSettingsPath;    // --init_camera <path>
    std::optional<std::string> rendererSettingsPath;  // --init_renderer <path>
};

// Scans every argument after the program name. A value is itself scanned as
// an option too, and a later option replaces an earlier one. An option with
// no value after it, and each unknown argument that starts with '-', is
// reported with one line on `errors` and otherwise ignored.
CommandLineOptions parseCommandLine(int argc, const char* const* argv, std::ostream& errors);
