// The command line: the two options that replace a settings file, replays,
// --no-sound, --menu, the course, and the requests for the usage and the version.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct CommandLineOptions {
    std::optional<std::string> cameraSettingsPath;    // --init_camera <path>
    std::optional<std::string> rendererSettingsPath;  // --init_renderer <path>
    bool help = false;                                // --help or -h
    bool version = false;                             // --version
    std::optional<std::string> recordPath;            // --record <file>
    std::optional<std::string> replayPath;            // --replay <file>
    bool replayAsFastAsDrawn = false;                 // --replay-speed max
    bool noSound = false;                             // --no-sound
    bool playerMode = false;                          // --menu: title screen, menus, result screen
    std::optional<std::string> course;                // --course NAME|FILE
    std::optional<std::string> checkCoursePath;       // --check-course FILE
};

// Scans every argument after the program name. A value is itself scanned as
// an option too, and a later option replaces an earlier one. An option with
// no value after it, and each unknown argument that starts with '-', is
// reported with one line on `errors` and otherwise ignored.
CommandLineOptions parseCommandLine(int argc, const char* const* argv, std::ostream& errors);

struct SettingKey;

// What --help prints: every option, the settings files and their keys as
// `settings` has them (the game's own table when not given), and the keys.
void printUsage(std::ostream& out);
void printUsage(std::ostream& out, const std::vector<SettingKey>& settings);
