#include "command_line.h"

#include "settings_docs.h"

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
        std::optional<std::string> speed;
        if (std::strcmp(argv[i], cameraOption) == 0)
            target = &options.cameraSettingsPath;
        else if (std::strcmp(argv[i], rendererOption) == 0)
            target = &options.rendererSettingsPath;
        else if (std::strcmp(argv[i], "--record") == 0)
            target = &options.recordPath;
        else if (std::strcmp(argv[i], "--replay") == 0)
            target = &options.replayPath;
        else if (std::strcmp(argv[i], "--replay-speed") == 0)
            target = &speed;
        else if (std::strcmp(argv[i], "--course") == 0)
            target = &options.course;
        else if (std::strcmp(argv[i], "--check-course") == 0)
            target = &options.checkCoursePath;
        const bool isValue = previousTookValue;
        previousTookValue = false;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            options.help = true;
            continue;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            options.version = true;
            continue;
        }
        if (std::strcmp(argv[i], "--no-sound") == 0) {
            options.noSound = true;
            continue;
        }
        if (std::strcmp(argv[i], "--menu") == 0) {
            options.playerMode = true;
            continue;
        }
        if (!target) {
            // A value may start with '-' too; it was meant for the option before it.
            if (argv[i][0] == '-' && !isValue)
                reportUnknown(argv[i], errors);
            continue;
        }
        if (i + 1 >= argc) {
            errors << "Option " << argv[i] << " needs a value after it; it is ignored." << std::endl;
            continue;
        }
        *target = argv[i + 1];
        previousTookValue = true;
        if (speed && *speed != "max" && *speed != "normal")
            errors << "Replay speed " << *speed << " is neither max nor normal; the replay keeps its pace." << std::endl;
        if (speed)
            options.replayAsFastAsDrawn = *speed == "max";
    }
    return options;
}

void printUsage(std::ostream& out, const std::vector<SettingKey>& settings)
{
    out << "Usage: glimmerdeep [options]\n"
           "Steer a glowing fairy up a deep well, through the rings that refill its power, to the flag.\n"
           "\n"
           "Options:\n"
           "  --init_camera PATH    camera settings instead of assets/settings/camera_front.ini\n"
           "  --init_renderer PATH  renderer settings instead of assets/settings/renderer_standard.ini\n"
           "  --record FILE         write the run to FILE as a replay\n"
           "  --replay FILE         play the run recorded in FILE (only Escape and F3 act)\n"
           "  --replay-speed max    play the replay as fast as frames are drawn (and silently)\n"
           "  --no-sound            play without sound, whatever window.ini says\n"
           "  --menu                player mode: title screen, menus and a result screen\n"
           "  --course NAME|FILE    fly the course NAME (assets/courses/NAME.ini, or NAME.ini in the\n"
           "                        courses folder of a data folder) or the course file FILE (a path\n"
           "                        with a '/' or ending in .ini); classic when not given\n"
           "  --check-course FILE   fly the course FILE (or NAME) at 5, 30, 60 and 144 frames per second\n"
           "                        without a window, print the power left at each ring, and exit\n"
           "                        with 0 when it is winnable, 1 when not\n"
           "  --help, -h            print this and exit\n"
           "  --version             print the game's version and exit\n"
           "\n"
           "Settings files (searched upwards from the game's own folder; when not found there, in\n"
           "$GLIMMERDEEP_DATA and then ../share/glimmerdeep from the game's folder, without the assets/ part).\n"
           "Files of the same names in $XDG_CONFIG_HOME/glimmerdeep (by default ~/.config/glimmerdeep)\n"
           "override them key by key; a file named by --init_camera or --init_renderer takes the shipped\n"
           "file's place and overrides the player's:\n"
        << settingsHelpList(settings)
        << "\n"
           "Keys:\n"
           "  mouse, W A S D   look, fly along and across the view (left stick and right stick on a gamepad)\n"
           "  P                pause and resume (Start); losing the window's focus pauses, a click resumes\n"
           "  R                restart the run (Back), also from the end screen\n"
           "  C                free-fly camera on or off (Y); Space and Left Shift fly it up and down\n"
           "  G                the best run's ghost on or off (with --menu)\n"
           "  1 / 2 / 3        the HUD (power bar, heart and words) / particle trail / water animation\n"
           "  N / T            water normals / texture-coordinate switch\n"
           "  F1 / F2 / F3     wireframe / back-face culling / fullscreen\n"
           "  Escape           quit\n";
}

void printUsage(std::ostream& out)
{
    printUsage(out, settingsTable());
}
