#include "settings.h"

#include "settings_file.h"

#include <climits>

const char* const windowSettingsPath = "assets/settings/window.ini";
const char* const defaultCameraSettingsPath = "assets/settings/camera_front.ini";
const char* const defaultRendererSettingsPath = "assets/settings/renderer_standard.ini";

namespace {

// Out-of-range sizes become values GLFW refuses, like any other bad size.
int toInt(long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

WindowSettings readWindowSettings(const SettingsFile& file)
{
    const WindowSettings defaults;
    WindowSettings window;
    window.width = toInt(file.getInteger("window", "width", defaults.width));
    window.height = toInt(file.getInteger("window", "height", defaults.height));
    window.refreshRate = toInt(file.getInteger("window", "refresh_rate", defaults.refreshRate));
    window.fullscreen = file.getBoolean("window", "fullscreen", defaults.fullscreen);
    window.title = file.getString("window", "title", defaults.title);
    return window;
}

CameraSettings readCameraSettings(const SettingsFile& file)
{
    const CameraSettings defaults;
    CameraSettings camera;
    camera.fov = static_cast<float>(file.getReal("camera", "fov", defaults.fov));
    camera.near = static_cast<float>(file.getReal("camera", "near", defaults.near));
    camera.far = static_cast<float>(file.getReal("camera", "far", defaults.far));
    camera.yaw = static_cast<float>(file.getReal("camera", "yaw", defaults.yaw));
    camera.pitch = static_cast<float>(file.getReal("camera", "pitch", defaults.pitch));
    return camera;
}

RendererSettings readRendererSettings(const SettingsFile& file)
{
    const RendererSettings defaults;
    RendererSettings renderer;
    renderer.wireframe = file.getBoolean("renderer", "wireframe", defaults.wireframe);
    renderer.backface_culling = file.getBoolean("renderer", "backface_culling", defaults.backface_culling);
    renderer.normals = file.getBoolean("renderer", "normals", defaults.normals);
    renderer.texcoords = file.getBoolean("renderer", "texcoords", defaults.texcoords);
    renderer.depthtest = file.getBoolean("renderer", "depthtest", defaults.depthtest);
    return renderer;
}

Settings loadSettings(const CommandLineOptions& options)
{
    Settings settings;
    settings.window = readWindowSettings(SettingsFile(windowSettingsPath));
    settings.camera = readCameraSettings(
        SettingsFile(options.cameraSettingsPath.value_or(defaultCameraSettingsPath)));
    settings.renderer = readRendererSettings(
        SettingsFile(options.rendererSettingsPath.value_or(defaultRendererSettingsPath)));
    return settings;
}
