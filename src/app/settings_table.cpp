#include "settings_table.h"

#include <cmath>

namespace {

constexpr SettingsFileId window = SettingsFileId::window;
constexpr SettingsFileId camera = SettingsFileId::camera;
constexpr SettingsFileId renderer = SettingsFileId::renderer;

bool farBeyondNear(const Settings& settings)
{
    return settings.camera.far > settings.camera.near && std::isfinite(settings.camera.far);
}

// Fails only once far has given way to its default: a near plane beyond
// even that gives way too.
bool nearBeforeFar(const Settings& settings)
{
    return settings.camera.near < settings.camera.far;
}

constexpr double infinity = std::numeric_limits<double>::infinity();

}  // namespace

Range above(double low) { return {low, infinity, false, false}; }
Range between(double low, double high) { return {low, high, false, false}; }
Range fromTo(double low, double high) { return {low, high, true, true}; }
Range aboveUpTo(double low, double high) { return {low, high, false, true}; }
Range finite() { return {}; }

const std::vector<SettingsFileInfo>& settingsFiles()
{
    static const std::vector<SettingsFileInfo> files = {
        {window, "window", "assets/settings/window.ini", nullptr, nullptr},
        {camera, "camera", "assets/settings/camera_front.ini", &CommandLineOptions::cameraSettingsPath,
         "--init_camera"},
        {renderer, "renderer", "assets/settings/renderer_standard.ini", &CommandLineOptions::rendererSettingsPath,
         "--init_renderer"},
    };
    return files;
}

const SettingsFileInfo& settingsFile(SettingsFileId id)
{
    return settingsFiles()[static_cast<std::size_t>(id)];
}

std::string playersPath(const std::string& folder, const SettingsFileInfo& file)
{
    const std::string shipped = file.shippedPath;
    return folder + shipped.substr(shipped.find_last_of('/'));
}

const SettingsTable& settingsTable()
{
    static const SettingsTable table = {
        {window, "width", fieldOf<&WindowSettings::width>(),
         "width of the window in pixels, cut to the screen when larger (the shipped file: 1280)", above(0),
         "is not a number of pixels above 0"},
        {window, "height", fieldOf<&WindowSettings::height>(),
         "height of the window in pixels, cut to the screen when larger (the shipped file: 720)", above(0),
         "is not a number of pixels above 0"},
        {window, "refresh_rate", fieldOf<&WindowSettings::refreshRate>(),
         "a hint to the window system for fullscreen; no effect on a windowed game"},
        {window, "fullscreen", fieldOf<&WindowSettings::fullscreen>(),
         "start on the monitor under the window, in its current mode; F3 switches (the shipped file: false)"},
        {window, "title", fieldOf<&WindowSettings::title>(), "the window's title"},
        {window, "vsync", fieldOf<&WindowSettings::vsync>(),
         "wait for the screen's refresh before showing each frame; false shows each frame as soon as it is "
         "drawn, whatever the driver's default"},
        {window, "keep_results", fieldOf<&WindowSettings::keepResults>(),
         "keep the best time and the numbers of wins and losses in results.txt under $XDG_DATA_HOME/glimmerdeep"},
        {window, "end_screen_seconds", fieldOf<&WindowSettings::endScreenSeconds>(),
         "seconds the last picture, with the result (\"Game over\" or \"You made it! 10.6 s\"), stays before "
         "the window closes; Escape closes it at once and R starts a new run. 0 closes the window in the frame "
         "the run ends. Players who start the game from a launcher, without a console, will want 3",
         fromTo(0, 3600), "is not a number of seconds from 0 to 3600"},
        {window, "ghost", fieldOf<&WindowSettings::ghost>(),
         "with --menu, show the course's best run as a translucent fairy beside yours; G hides and shows it"},

        {window, "sound", fieldOf<&AudioSettings::enabled>(),
         "play the game's sounds; off plays silently, as --no-sound does", {}, nullptr, {}, {}, nullptr, "audio"},
        {window, "master_volume", fieldOf<&AudioSettings::masterVolume>(), "loudness of everything the game plays",
         fromTo(0, 1), "is not a volume from 0 to 1", {}, {}, nullptr, "audio"},
        {window, "effects_volume", fieldOf<&AudioSettings::effectsVolume>(),
         "loudness of the rings, the warnings, the endings and the wings", fromTo(0, 1),
         "is not a volume from 0 to 1", {}, {}, nullptr, "audio"},
        {window, "ambience_volume", fieldOf<&AudioSettings::ambienceVolume>(),
         "loudness of the well's wind and drips", fromTo(0, 1), "is not a volume from 0 to 1", {}, {}, nullptr,
         "audio"},

        {camera, "fov", fieldOf<&CameraSettings::fov>(), "vertical field of view, degrees", between(0, 180),
         "is not between 0 and 180 degrees"},
        {camera, "near", fieldOf<&CameraSettings::near>(), "near clipping distance", above(0),
         "is not a distance above 0"},
        {camera, "far", fieldOf<&CameraSettings::far>(), "far clipping distance", {}, nullptr, {},
         {{"far", farBeyondNear, "does not lie beyond near"}, {"near", nearBeforeFar, "does not lie before far"}},
         "beyond near, finite"},
        {camera, "yaw", fieldOf<&CameraSettings::yaw>(),
         "starting heading of the follow camera, radians (0 looks along +z)", finite(), "is not a finite angle"},
        {camera, "pitch", fieldOf<&CameraSettings::pitch>(), "starting elevation of the follow camera, radians",
         finite(), "is not a finite angle"},
        {camera, "mouse_sensitivity", fieldOf<&CameraSettings::mouseSensitivity>(),
         "radians the view turns per pixel of mouse motion", aboveUpTo(0, 1),
         "is not between 0 and 1 radian per pixel"},
        {camera, "invert_y", fieldOf<&CameraSettings::invertY>(), "moving the mouse up looks down"},

        {renderer, "wireframe", fieldOf<&RendererSettings::wireframe>(),
         "draw the scene's polygons as lines (F1); the glow and the HUD stay filled"},
        {renderer, "backface_culling", fieldOf<&RendererSettings::backface_culling>(),
         "cull the scene's back faces (F2)"},
        {renderer, "normals", fieldOf<&RendererSettings::normals>(), "the water shows its normals (N)"},
        {renderer, "texcoords", fieldOf<&RendererSettings::texcoords>(), "the texture-coordinate switch (T)"},
        {renderer, "depthtest", fieldOf<&RendererSettings::depthtest>(), "depth test before the first frame"},
        {renderer, "bloom_resolution", fieldOf<&RendererSettings::bloom_resolution>(),
         "size of the glow's blur targets: the window's, half or a quarter of it; the smaller ones are much "
         "cheaper without a graphics card",
         {}, nullptr,
         {{"full", static_cast<int>(BloomResolution::full)}, {"half", static_cast<int>(BloomResolution::half)},
          {"quarter", static_cast<int>(BloomResolution::quarter)}}},
        {renderer, "render_scale", fieldOf<&RendererSettings::render_scale>(),
         "size of the scene and its glow against the window's, shown in sharp blocks when below 1; the HUD "
         "and its words keep the window's size. 0.5 draws a quarter of the pixels",
         fromTo(0.25, 1), "is not a scale from 0.25 to 1"},
        {renderer, "quality", fieldOf<&RendererSettings::quality>(),
         "full draws as the keys above say; auto, on a renderer without a graphics card (llvmpipe and the "
         "like), lowers render_scale and bloom_resolution and draws to a window without multisampling to stay fluid, "
         "and says so in one line; keys set in "
         "the player's own file or an --init_renderer file win. --menu starts with auto unless the player's "
         "file says otherwise",
         {}, nullptr,
         {{"full", static_cast<int>(RenderQuality::full)}, {"auto", static_cast<int>(RenderQuality::automatic)}}},
    };
    return table;
}

const char* sectionOf(const SettingKey& key)
{
    return key.section ? key.section : settingsFile(key.file).section;
}

std::string defaultText(const SettingKey& key)
{
    return key.field.write(Settings{}, key.words);
}

std::string wordList(const SettingWords& words)
{
    std::string list;
    for (std::size_t i = 0; i < words.size(); ++i)
        list += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + std::string(words[i].text);
    return list;
}
