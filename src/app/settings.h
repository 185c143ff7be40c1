// The game's three settings files and the values read from them at start-up.
// A value the game cannot use (a field of view of 0, a far plane before the
// near one, a window larger than any screen) is replaced by a sound one, with
// one console line that names the file, the key and the value used.
#pragma once

#include "command_line.h"
#include "audio/audio_settings.h"
#include "framework/render_state.h"
#include "game/camera_settings.h"

#include <ostream>
#include <string>

struct WindowSettings {
    int width = 800;
    int height = 800;
    int refreshRate = 60;
    bool fullscreen = true;
    std::string title = "Glimmerdeep";
    bool vsync = false;  // swap in step with the screen's refresh
    bool keepResults = false;  // count wins, losses and the best time in the data folder
    double endScreenSeconds = 0.0;  // how long the result stays before the window closes; 0: none
};

struct Settings {
    WindowSettings window;
    CameraSettings camera;
    RendererSettings renderer;
    AudioSettings audio;  // [audio] of the window file
};

extern const char* const windowSettingsPath;
extern const char* const defaultCameraSettingsPath;
extern const char* const defaultRendererSettingsPath;

// The largest window side the game asks for when no screen says otherwise.
inline constexpr int maxWindowSide = 16384;

class SettingsFile;
WindowSettings readWindowSettings(const SettingsFile& file, std::ostream& console);
CameraSettings readCameraSettings(const SettingsFile& file, std::ostream& console);
RendererSettings readRendererSettings(const SettingsFile& file, std::ostream& console);
AudioSettings readAudioSettings(const SettingsFile& file, std::ostream& console);

// Reads the window (with its [audio] section), camera and renderer files, in
// that order; the options may name other camera and renderer files, and
// --no-sound turns sound off.
Settings loadSettings(const CommandLineOptions& options, std::ostream& console);

// Shrinks a window wider or taller than `maxWidth` by `maxHeight` to fit,
// with one line per side on `console`; `limit` says what sets the bound.
void fitWindowSize(WindowSettings& window, int maxWidth, int maxHeight, const char* limit, std::ostream& console);
