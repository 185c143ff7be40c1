// The game's three settings files and the values read from them at start-up.
#pragma once

#include "command_line.h"
#include "framework/render_state.h"
#include "game/camera_settings.h"

#include <string>

struct WindowSettings {
    int width = 800;
    int height = 800;
    int refreshRate = 60;
    bool fullscreen = true;
    std::string title = "Glimmerdeep";
};

struct Settings {
    WindowSettings window;
    CameraSettings camera;
    RendererSettings renderer;
};

extern const char* const windowSettingsPath;
extern const char* const defaultCameraSettingsPath;
extern const char* const defaultRendererSettingsPath;

class SettingsFile;
WindowSettings readWindowSettings(const SettingsFile& file);
CameraSettings readCameraSettings(const SettingsFile& file);
RendererSettings readRendererSettings(const SettingsFile& file);

// Reads the window, camera and renderer files, in that order; the options
// may name other camera and renderer files.
Settings loadSettings(const CommandLineOptions& options);
