#include "settings.h"

#include "settings_file.h"

#include <algorithm>
#include <climits>
#include <cctype>
#include <cmath>
#include <utility>

const char* const windowSettingsPath = "assets/settings/window.ini";
const char* const defaultCameraSettingsPath = "assets/settings/camera_front.ini";
const char* const defaultRendererSettingsPath = "assets/settings/renderer_standard.ini";

namespace {

// Clamped rather than wrapped round: a huge size stays huge (and is cut to the
// screen later), a hugely negative one stays below 1 (and is replaced).
int toInt(long value)
{
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

// One line for a value the game cannot use and the one it takes instead.
template <typename Used>
void reportReplaced(std::ostream& console, const std::string& file, const char* key, const std::string& value,
                    const char* reason, const Used& used)
{
    console << "WARNING: '" << file << "': " << key << " = " << value << " " << reason << ". Using " << used
            << " instead." << std::endl;
}

// Replaces `value` by `fallback` unless `usable`, with its line.
void keepIfUsable(float& value, bool usable, float fallback, const SettingsFile& file, const char* key,
                  const char* reason, std::ostream& console)
{
    if (usable)
        return;
    reportReplaced(console, file.path(), key, file.getString("camera", key, ""), reason, static_cast<double>(fallback));
    value = fallback;
}

// "full", "half" or "quarter", in any case; anything else is full, with its line.
BloomResolution readBloomResolution(const SettingsFile& file, std::ostream& console)
{
    const std::string value = file.getString("renderer", "bloom_resolution", "full");
    std::string word = value;
    std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
    if (word == "half")
        return BloomResolution::half;
    if (word == "quarter")
        return BloomResolution::quarter;
    if (word != "full")
        reportReplaced(console, file.path(), "bloom_resolution", value, "is not full, half or quarter", "full");
    return BloomResolution::full;
}

// A window side of at least one pixel; anything else is `fallback`, with its line.
int readWindowSide(const SettingsFile& file, const char* key, int fallback, std::ostream& console)
{
    const int side = toInt(file.getInteger("window", key, fallback));
    if (side > 0)
        return side;
    reportReplaced(console, file.path(), key, file.getString("window", key, ""), "is not a number of pixels above 0",
                   fallback);
    return fallback;
}

}  // namespace

WindowSettings readWindowSettings(const SettingsFile& file, std::ostream& console)
{
    const WindowSettings defaults;
    WindowSettings window;
    window.width = readWindowSide(file, "width", defaults.width, console);
    window.height = readWindowSide(file, "height", defaults.height, console);
    window.refreshRate = toInt(file.getInteger("window", "refresh_rate", defaults.refreshRate));
    window.fullscreen = file.getBoolean("window", "fullscreen", defaults.fullscreen);
    window.title = file.getString("window", "title", defaults.title);
    window.vsync = file.getBoolean("window", "vsync", defaults.vsync);
    window.keepResults = file.getBoolean("window", "keep_results", defaults.keepResults);
    window.endScreenSeconds = file.getReal("window", "end_screen_seconds", defaults.endScreenSeconds);
    // Written as "not (good)" so that NaN is never good. Longer than an hour is
    // a window that, for a player, never closes by itself.
    if (!(window.endScreenSeconds >= 0.0 && window.endScreenSeconds <= 3600.0)) {
        reportReplaced(console, file.path(), "end_screen_seconds", file.getString("window", "end_screen_seconds", ""),
                       "is not a number of seconds from 0 to 3600", defaults.endScreenSeconds);
        window.endScreenSeconds = defaults.endScreenSeconds;
    }
    return window;
}

CameraSettings readCameraSettings(const SettingsFile& file, std::ostream& console)
{
    const CameraSettings defaults;
    CameraSettings camera;
    camera.fov = static_cast<float>(file.getReal("camera", "fov", defaults.fov));
    camera.near = static_cast<float>(file.getReal("camera", "near", defaults.near));
    camera.far = static_cast<float>(file.getReal("camera", "far", defaults.far));
    camera.yaw = static_cast<float>(file.getReal("camera", "yaw", defaults.yaw));
    camera.pitch = static_cast<float>(file.getReal("camera", "pitch", defaults.pitch));
    camera.mouseSensitivity =
        static_cast<float>(file.getReal("camera", "mouse_sensitivity", defaults.mouseSensitivity));
    camera.invertY = file.getBoolean("camera", "invert_y", defaults.invertY);

    // Written as "not (good)" so that NaN is never good.
    keepIfUsable(camera.fov, camera.fov > 0.0f && camera.fov < 180.0f, defaults.fov, file, "fov",
                 "is not between 0 and 180 degrees", console);
    keepIfUsable(camera.near, camera.near > 0.0f && std::isfinite(camera.near), defaults.near, file, "near",
                 "is not a distance above 0", console);
    keepIfUsable(camera.far, camera.far > camera.near && std::isfinite(camera.far), defaults.far, file, "far",
                 "does not lie beyond near", console);
    // A near plane beyond even the default far one gives way too.
    keepIfUsable(camera.near, camera.near < camera.far, defaults.near, file, "near", "does not lie before far",
                 console);
    keepIfUsable(camera.yaw, std::isfinite(camera.yaw), defaults.yaw, file, "yaw", "is not a finite angle",
                 console);
    keepIfUsable(camera.pitch, std::isfinite(camera.pitch), defaults.pitch, file, "pitch",
                 "is not a finite angle", console);
    keepIfUsable(camera.mouseSensitivity, camera.mouseSensitivity > 0.0f && camera.mouseSensitivity <= 1.0f,
                 defaults.mouseSensitivity, file, "mouse_sensitivity", "is not between 0 and 1 radian per pixel",
                 console);
    return camera;
}

RendererSettings readRendererSettings(const SettingsFile& file, std::ostream& console)
{
    const RendererSettings defaults;
    RendererSettings renderer;
    renderer.wireframe = file.getBoolean("renderer", "wireframe", defaults.wireframe);
    renderer.backface_culling = file.getBoolean("renderer", "backface_culling", defaults.backface_culling);
    renderer.normals = file.getBoolean("renderer", "normals", defaults.normals);
    renderer.texcoords = file.getBoolean("renderer", "texcoords", defaults.texcoords);
    renderer.depthtest = file.getBoolean("renderer", "depthtest", defaults.depthtest);
    renderer.bloom_resolution = readBloomResolution(file, console);
    return renderer;
}

AudioSettings readAudioSettings(const SettingsFile& file, std::ostream& console)
{
    const AudioSettings defaults;
    AudioSettings audio;
    audio.enabled = file.getBoolean("audio", "sound", defaults.enabled);
    const std::pair<const char*, float AudioSettings::*> volumes[] = {
        {"master_volume", &AudioSettings::masterVolume},
        {"effects_volume", &AudioSettings::effectsVolume},
        {"ambience_volume", &AudioSettings::ambienceVolume},
    };
    for (const auto& [key, volume] : volumes) {
        audio.*volume = static_cast<float>(file.getReal("audio", key, defaults.*volume));
        // Written as "not (good)" so that NaN is never good.
        if (!(audio.*volume >= 0.0f && audio.*volume <= 1.0f)) {
            reportReplaced(console, file.path(), key, file.getString("audio", key, ""), "is not a volume from 0 to 1",
                           static_cast<double>(defaults.*volume));
            audio.*volume = defaults.*volume;
        }
    }
    return audio;
}

Settings loadSettings(const CommandLineOptions& options, std::ostream& console)
{
    Settings settings;
    const SettingsFile windowFile(windowSettingsPath);
    settings.window = readWindowSettings(windowFile, console);
    settings.audio = readAudioSettings(windowFile, console);
    settings.audio.enabled = settings.audio.enabled && !options.noSound;
    settings.camera = readCameraSettings(
        SettingsFile(options.cameraSettingsPath.value_or(defaultCameraSettingsPath)), console);
    settings.renderer = readRendererSettings(
        SettingsFile(options.rendererSettingsPath.value_or(defaultRendererSettingsPath)), console);
    return settings;
}

void fitWindowSize(WindowSettings& window, int maxWidth, int maxHeight, const char* limit, std::ostream& console)
{
    if (window.width > maxWidth) {
        reportReplaced(console, windowSettingsPath, "width", std::to_string(window.width), limit, maxWidth);
        window.width = maxWidth;
    }
    if (window.height > maxHeight) {
        reportReplaced(console, windowSettingsPath, "height", std::to_string(window.height), limit, maxHeight);
        window.height = maxHeight;
    }
}
