#include "app/app.h"
#include "app/settings.h"
#include "app/settings_file.h"
#include "app/startup.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <sstream>

namespace {

int askedSwapInterval = -1;  // the last one the game asked GLFW for

// The camera values read from `text`, and the lines that reading printed.
struct ReadCamera {
    CameraSettings camera;
    std::string lines;
};

ReadCamera readCamera(const std::string& text)
{
    std::ostringstream console;
    ReadCamera read{readCameraSettings(SettingsFile::fromText("[camera]\n" + text), console), ""};
    read.lines = console.str();
    return read;
}

}  // namespace

// Interposed for this test program: the game's call reaches this instead of GLFW.
extern "C" void glfwSwapInterval(int interval)
{
    askedSwapInterval = interval;
}

TEST(Settings, ValuesAreReadFromTheirOwnSectionsOnly)
{
    const SettingsFile file = SettingsFile::fromText(
        "[window]\nwidth = 0x400\nheight = 300\nfullscreen = no\ntitle = Well\n"
        "[camera]\nfov = 75 ; wide\nyaw = -1.25\n"
        "[renderer]\nwireframe = on\ndepthtest = off\n");
    std::ostringstream console;
    EXPECT_EQ(readWindowSettings(file, console).width, 1024);
    EXPECT_EQ(readWindowSettings(file, console).height, 300);
    EXPECT_FALSE(readWindowSettings(file, console).fullscreen);
    EXPECT_EQ(readWindowSettings(file, console).title, "Well");
    EXPECT_FALSE(readWindowSettings(file, console).vsync);
    EXPECT_TRUE(readWindowSettings(SettingsFile::fromText("[window]\nvsync = true\n"), console).vsync);
    const CameraSettings camera = readCameraSettings(file, console);
    EXPECT_FLOAT_EQ(camera.fov, 75.0f);
    EXPECT_FLOAT_EQ(camera.yaw, -1.25f);
    EXPECT_EQ(console.str(), "");
    EXPECT_TRUE(readRendererSettings(file, console).wireframe);
    EXPECT_FALSE(readRendererSettings(file, console).depthtest);
    EXPECT_EQ(readRendererSettings(file, console).bloom_resolution, BloomResolution::full);
    EXPECT_EQ(console.str(), "");
}

TEST(Settings, BloomResolutionIsAWordAndAnythingElseIsFullWithALine)
{
    const struct {
        const char* value;
        BloomResolution read;
        const char* line;
    } cases[] = {
        {"half", BloomResolution::half, ""},
        {"Quarter", BloomResolution::quarter, ""},
        {"FULL", BloomResolution::full, ""},
        {"2", BloomResolution::full,
         "WARNING: '': bloom_resolution = 2 is not full, half or quarter. Using full instead.\n"},
        {"halfish", BloomResolution::full,
         "WARNING: '': bloom_resolution = halfish is not full, half or quarter. Using full instead.\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream console;
        const SettingsFile file = SettingsFile::fromText(std::string("[renderer]\nbloom_resolution = ") + c.value);
        EXPECT_EQ(readRendererSettings(file, console).bloom_resolution, c.read) << c.value;
        EXPECT_EQ(console.str(), c.line);
    }
}

// A side below one pixel leaves no window to open and an end screen longer
// than an hour never closes: both take their defaults, with a line. A huge
// side stays huge, to be cut to the screen later, rather than wrapping round.
TEST(Settings, WindowValuesTheGameCannotUseAreReplacedWithALine)
{
    const struct {
        const char* text;
        int width;
        int height;
        double endScreenSeconds;
        const char* line;  // what the console output begins with
    } cases[] = {
        {"width = 99999999999999\nheight = 1\nend_screen_seconds = 3600", INT_MAX, 1, 3600.0, ""},
        {"width = 0\nheight = 600", 800, 600, 0.0,
         "WARNING: '': width = 0 is not a number of pixels above 0. Using 800 instead.\n"},
        {"width = 640\nheight = -99999999999999", 640, 800, 0.0,
         "WARNING: '': height = -99999999999999 is not a number of pixels above 0. Using 800 instead.\n"},
        {"end_screen_seconds = -1", 800, 800, 0.0,
         "WARNING: '': end_screen_seconds = -1 is not a number of seconds from 0 to 3600. Using 0 instead.\n"},
        {"end_screen_seconds = nan", 800, 800, 0.0, "WARNING: '': end_screen_seconds = nan is not a number of"},
        {"end_screen_seconds = inf", 800, 800, 0.0, "WARNING: '': end_screen_seconds = inf is not a number of"},
        {"end_screen_seconds = 3600.5", 800, 800, 0.0, "WARNING: '': end_screen_seconds = 3600.5 is not a"},
    };
    for (const auto& c : cases) {
        std::ostringstream console;
        const WindowSettings window =
            readWindowSettings(SettingsFile::fromText(std::string("[window]\n") + c.text), console);
        EXPECT_EQ(window.width, c.width) << c.text;
        EXPECT_EQ(window.height, c.height) << c.text;
        EXPECT_EQ(window.endScreenSeconds, c.endScreenSeconds) << c.text;
        EXPECT_EQ(console.str().rfind(c.line, 0), 0u) << console.str();
    }
}

// Values that would blank or flip the picture give way to the defaults, each
// with one line naming the key and its value; sound values stay silent.
TEST(Settings, CameraValuesOutsideTheirRangeAreReplacedWithALine)
{
    struct Case {
        const char* text;
        float CameraSettings::*field;
        float used;
        const char* line;
    };
    const Case cases[] = {
        {"fov = 0", &CameraSettings::fov, 60.0f, "fov = 0 is not between 0 and 180 degrees. Using 60 instead."},
        {"fov = 180", &CameraSettings::fov, 60.0f, "fov = 180 is not between"},
        {"fov = -60", &CameraSettings::fov, 60.0f, "fov = -60 is not between"},
        {"fov = 1e30", &CameraSettings::fov, 60.0f, "fov = 1e30 is not between"},
        {"fov = nan", &CameraSettings::fov, 60.0f, "fov = nan is not between"},
        {"fov = inf", &CameraSettings::fov, 60.0f, "fov = inf is not between"},
        {"near = 0", &CameraSettings::near, 0.1f, "near = 0 is not a distance above 0. Using 0.1 instead."},
        {"near = -1", &CameraSettings::near, 0.1f, "near = -1 is not a distance above 0"},
        {"near = 5\nfar = 5", &CameraSettings::far, 100.0f, "far = 5 does not lie beyond near. Using 100 instead."},
        {"near = 50\nfar = 1", &CameraSettings::far, 100.0f, "far = 1 does not lie beyond near"},
        {"far = inf", &CameraSettings::far, 100.0f, "far = inf does not lie beyond near"},
        {"near = 500\nfar = 400", &CameraSettings::near, 0.1f, "near = 500 does not lie before far"},
        {"yaw = nan", &CameraSettings::yaw, 0.0f, "yaw = nan is not a finite angle. Using 0 instead."},
        {"pitch = -inf", &CameraSettings::pitch, 0.0f, "pitch = -inf is not a finite angle"},
        {"mouse_sensitivity = 0", &CameraSettings::mouseSensitivity, 0.002f,
         "mouse_sensitivity = 0 is not between 0 and 1 radian per pixel. Using 0.002 instead."},
        {"mouse_sensitivity = -0.001", &CameraSettings::mouseSensitivity, 0.002f, "mouse_sensitivity = -0.001 is not"},
        {"mouse_sensitivity = nan", &CameraSettings::mouseSensitivity, 0.002f, "mouse_sensitivity = nan is not"},
    };
    for (const Case& c : cases) {
        const ReadCamera read = readCamera(c.text);
        EXPECT_EQ(read.camera.*c.field, c.used) << c.text;
        EXPECT_EQ(read.lines.rfind("WARNING: '': ", 0), 0u) << read.lines;
        EXPECT_NE(read.lines.find(c.line), std::string::npos) << c.text << " printed: " << read.lines;
        EXPECT_GT(read.camera.far, read.camera.near) << c.text;
    }
    const ReadCamera sound =
        readCamera("fov = 179\nnear = 0.001\nfar = 1e6\nyaw = -40\npitch = 3\nmouse_sensitivity = 0.001\ninvert_y = yes");
    EXPECT_EQ(sound.lines, "");
    EXPECT_EQ(sound.camera.fov, 179.0f);
    EXPECT_EQ(sound.camera.far, 1e6f);
    EXPECT_EQ(sound.camera.mouseSensitivity, 0.001f);
    EXPECT_TRUE(sound.camera.invertY);
    // Without the new keys the camera turns as it always did.
    EXPECT_EQ(readCamera("").camera.mouseSensitivity, 0.002f);
    EXPECT_FALSE(readCamera("").camera.invertY);
}

TEST(Settings, WindowLargerThanTheLimitIsShrunkWithALinePerSide)
{
    WindowSettings window;
    window.width = 2147483647;
    window.height = 700;
    std::ostringstream console;
    fitWindowSize(window, 1280, 1024, "is more than the screen shows", console);
    EXPECT_EQ(window.width, 1280);
    EXPECT_EQ(window.height, 700);
    EXPECT_EQ(console.str(), "WARNING: 'assets/settings/window.ini': width = 2147483647 is more than the screen "
                             "shows. Using 1280 instead.\n");
}

// vsync asks for a swap interval either way, so the driver's default never decides.
TEST(Settings, VsyncSetsTheSwapIntervalOfTheNewWindowEitherWay)
{
    for (const bool vsync : {false, true}) {
        App app;
        app.settings.window = WindowSettings{64, 64, 60, false, "vsync", vsync};
        askedSwapInterval = -1;
        openMainWindow(app);
        EXPECT_EQ(askedSwapInterval, vsync ? 1 : 0);
        glfwDestroyWindow(app.window);
    }
}

TEST(Settings, OptionsReplaceTheCameraAndRendererFiles)
{
    CommandLineOptions options;
    options.cameraSettingsPath = "assets/settings/camera_wide.ini";
    options.rendererSettingsPath = "assets/settings/renderer_debug.ini";
    std::ostringstream console;
    const Settings settings = loadSettings(options, console);
    EXPECT_EQ(console.str(), "");
    EXPECT_FLOAT_EQ(settings.camera.fov, 85.0f);
    EXPECT_TRUE(settings.renderer.wireframe);
    EXPECT_FALSE(settings.window.fullscreen);  // the shipped window file
    EXPECT_TRUE(settings.audio.enabled);
    options.noSound = true;
    EXPECT_FALSE(loadSettings(options, console).audio.enabled);
}

// Sound can be turned off; a volume outside 0 to 1, or NaN, takes its
// default with one line naming the key and its value.
TEST(Settings, AudioVolumesOutsideZeroToOneAreReplacedWithALine)
{
    const struct {
        const char* text;
        AudioSettings read;
        const char* lines;
    } cases[] = {
        {"sound = off\nmaster_volume = 0.5\neffects_volume = 0\nambience_volume = 1", {false, 0.5f, 0.0f, 1.0f}, ""},
        {"master_volume = 1.5\nambience_volume = -0.1", {true, 1.0f, 1.0f, 0.6f},
         "WARNING: '': master_volume = 1.5 is not a volume from 0 to 1. Using 1 instead.\n"
         "WARNING: '': ambience_volume = -0.1 is not a volume from 0 to 1. Using 0.6 instead.\n"},
        {"effects_volume = nan", {true, 1.0f, 1.0f, 0.6f},
         "WARNING: '': effects_volume = nan is not a volume from 0 to 1. Using 1 instead.\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream console;
        const AudioSettings audio = readAudioSettings(SettingsFile::fromText(std::string("[audio]\n") + c.text), console);
        EXPECT_EQ(audio.enabled, c.read.enabled) << c.text;
        EXPECT_EQ(audio.masterVolume, c.read.masterVolume) << c.text;
        EXPECT_EQ(audio.effectsVolume, c.read.effectsVolume) << c.text;
        EXPECT_EQ(audio.ambienceVolume, c.read.ambienceVolume) << c.text;
        EXPECT_EQ(console.str(), c.lines);
    }
}
