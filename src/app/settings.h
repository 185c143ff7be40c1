// The values of the game's three settings files, read at start-up. Each key
// is one row of the settings table (settings_table.h), which says where its
// value goes here, what the game can use and what it means. A value the
// game cannot use (a field of view of 0, a far plane before the near one, a
// window larger than any screen) is replaced by a sound one, with one
// console line that names the file, the key and the value used.
#pragma once

#include "command_line.h"
#include "audio/audio_settings.h"
#include "framework/render_state.h"
#include "game/camera_settings.h"

#include <map>
#include <ostream>
#include <set>
#include <string>

// The initial values are the built-in defaults.
struct WindowSettings {
    int width = 800;
    int height = 800;
    int refreshRate = 60;
    bool fullscreen = true;
    std::string title = "Glimmerdeep";
    bool vsync = false;  // swap in step with the screen's refresh
    bool keepResults = false;  // count wins, losses and the best time in the data folder
    double endScreenSeconds = 0.0;  // how long the result stays before the window closes; 0: none
    bool ghost = true;  // player mode: show the best run's ghost beside the fairy
};

struct Settings {
    WindowSettings window;
    CameraSettings camera;
    RendererSettings renderer;
    // "section.key" -> the path of the file its value came from, for the
    // lines that name it later; for a key no file gives, the last file read.
    std::map<std::string, std::string> givenBy;
    // "section.key" that the player's own file or a file named on the
    // command line gives: the player's choices, which nothing overrides.
    std::set<std::string> givenByPlayer;
    AudioSettings audio;  // [audio] of the window file
};

// The largest window side the game asks for when no screen says otherwise.
inline constexpr int maxWindowSide = 16384;

// The player's own settings folder: $XDG_CONFIG_HOME/glimmerdeep, else
// $HOME/.config/glimmerdeep; "" without either.
std::string playerSettingsFolder();

// Reads the window, camera and renderer files, in that order. For each,
// every key takes its value from the last of these that gives it: the
// built-in default, the shipped file found by the asset search, the file of
// the same name in `playerFolder`, the file named on the command line. A
// file named on the command line takes the shipped file's place, so then
// the player's file lies below it.
Settings loadSettings(const CommandLineOptions& options, std::ostream& console,
                      const std::string& playerFolder = playerSettingsFolder());

// Shrinks a window wider or taller than `maxWidth` by `maxHeight` to fit,
// with one line per side on `console`; `limit` says what sets the bound.
void fitWindowSize(Settings& settings, int maxWidth, int maxHeight, const char* limit, std::ostream& console);
