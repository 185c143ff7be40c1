#include "app/app.h"
#include "app/render_quality.h"
#include "app/settings.h"
#include "app/settings_docs.h"
#include "app/settings_file.h"
#include "app/settings_reader.h"
#include "app/settings_writer.h"
#include "app/startup.h"
#include "framework/file_io.h"
#include "support/test_paths.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <set>
#include <sstream>
#include <tuple>

namespace {

int askedSwapInterval = -1;  // the last one the game asked GLFW for

// The values read from `text` as the only file of its kind, and the lines that reading printed.
struct Read {
    Settings settings;
    std::string lines;
};

Read readText(SettingsFileId file, const std::string& text, const SettingsTable& table = settingsTable())
{
    std::ostringstream console;
    const SettingsFile layer = SettingsFile::fromText(text);
    Read read;
    readSettingsFile(read.settings, file, {&layer}, console, table);
    read.lines = console.str();
    return read;
}

const SettingKey& keyNamed(const std::string& name)
{
    for (const SettingKey& key : settingsTable())
        if (key.name == name)
            return key;
    throw std::runtime_error("no key " + name);
}

}  // namespace

// Interposed for this test program: the game's call reaches this instead of GLFW.
extern "C" void glfwSwapInterval(int interval)
{
    askedSwapInterval = interval;
}

TEST(Settings, ValuesAreReadFromTheirOwnSectionsOnly)
{
    const std::string text(
        "[window]\nwidth = 0x400\nheight = 300\nfullscreen = no\ntitle = Well\n"
        "[camera]\nfov = 75 ; wide\nyaw = -1.25\n"
        "[renderer]\nwireframe = on\ndepthtest = off\n");
    const WindowSettings window = readText(SettingsFileId::window, text).settings.window;
    EXPECT_EQ(window.width, 1024);
    EXPECT_EQ(window.height, 300);
    EXPECT_FALSE(window.fullscreen);
    EXPECT_EQ(window.title, "Well");
    EXPECT_FALSE(window.vsync);
    EXPECT_TRUE(readText(SettingsFileId::window, "[window]\nvsync = true\n").settings.window.vsync);
    EXPECT_TRUE(initialSwitches(readText(SettingsFileId::window, text).settings).ghostShown);
    EXPECT_FALSE(initialSwitches(readText(SettingsFileId::window, "[window]\nghost = false\n").settings).ghostShown);
    const Read camera = readText(SettingsFileId::camera, text);
    EXPECT_FLOAT_EQ(camera.settings.camera.fov, 75.0f);
    EXPECT_FLOAT_EQ(camera.settings.camera.yaw, -1.25f);
    EXPECT_EQ(camera.lines, "");
    const Read renderer = readText(SettingsFileId::renderer, text);
    EXPECT_TRUE(renderer.settings.renderer.wireframe);
    EXPECT_FALSE(renderer.settings.renderer.depthtest);
    EXPECT_EQ(renderer.settings.renderer.bloom_resolution, BloomResolution::full);
    EXPECT_EQ(renderer.lines, "");
}

TEST(Settings, BloomResolutionIsAWordAndAnythingElseIsFullWithALine)
{
    const char* const refused =
        "WARNING: '': bloom_resolution = 2 is not full, half or quarter. Using full instead.\n";
    for (const auto& [value, read, line] : {std::tuple{"half", BloomResolution::half, ""},
                                            {"Quarter", BloomResolution::quarter, ""},
                                            {"2", BloomResolution::full, refused}}) {
        const Read bloom = readText(SettingsFileId::renderer, std::string("[renderer]\nbloom_resolution = ") + value);
        EXPECT_EQ(bloom.settings.renderer.bloom_resolution, read) << value;
        EXPECT_EQ(bloom.lines, line);
    }
}

// A value the game cannot use (a side below one pixel leaves no window, an
// end screen beyond an hour never closes, a far plane not beyond the near
// one blanks the picture) takes its default with a line naming key and
// value. Ends are in or out as each key's range says; a huge side stays
// huge, to be cut to the screen later, rather than wrapping round.
TEST(Settings, ValuesTheGameCannotUseAreReplacedWithALine)
{
    constexpr SettingsFileId window = SettingsFileId::window, camera = SettingsFileId::camera;
    const struct {
        SettingsFileId file;
        const char* text;
        const char* key;
        double used;
        const char* line;  // a piece of what the console shows; "": nothing at all
    } cases[] = {
        {window, "width = 99999999999999\nheight = 1\nend_screen_seconds = 3600", "width", INT_MAX, ""},
        {window, "width = px\nheight = 1024px", "width", 800, ""},
        {window, "width = 0", "width", 800,
         "WARNING: '': width = 0 is not a number of pixels above 0. Using 800 instead.\n"},
        {window, "height = -99999999999999", "height", 800, "height = -99999999999999 is not a"},
        {window, "end_screen_seconds = -1", "end_screen_seconds", 0,
         "WARNING: '': end_screen_seconds = -1 is not a number of seconds from 0 to 3600. Using 0 instead.\n"},
        {window, "end_screen_seconds = nan", "end_screen_seconds", 0, "end_screen_seconds = nan is"},
        {window, "end_screen_seconds = 3600.5", "end_screen_seconds", 0, "seconds = 3600.5 is not"},
        {camera, "fov = 0", "fov", 60, "fov = 0 is not between 0 and 180 degrees. Using 60 instead."},
        {camera, "fov = 180", "fov", 60, "fov = 180 is not between"},
        {camera, "near = 5\nfar = 5", "far", 100, "far = 5 does not lie beyond near. Using 100 instead."},
        {camera, "far = inf", "far", 100, "far = inf does not lie beyond near"},
        {camera, "near = 500\nfar = 400", "near", 0.1f, "near = 500 does not lie before far"},
        {camera, "yaw = nan", "yaw", 0, "yaw = nan is not a finite angle. Using 0 instead."},
        {camera, "pitch = -inf", "pitch", 0, "pitch = -inf is not a finite angle"},
        {camera, "mouse_sensitivity = 0", "mouse_sensitivity", 0.002f,
         "mouse_sensitivity = 0 is not between 0 and 1 radian per pixel. Using 0.002 instead."},
        {camera, "fov = 179\nnear = 0.001\nfar = 1e6\npitch = 3\nmouse_sensitivity = 1", "far", 1e6, ""},
        {window, "[audio]\nmaster_volume = 1.5", "master_volume", 1,
         "master_volume = 1.5 is not a volume from 0 to 1. Using 1 instead."},
        {window, "[audio]\nsound = off\nambience_volume = 0", "ambience_volume", 0, ""},
    };
    for (const auto& c : cases) {
        const Read read = readText(c.file, "[" + std::string(settingsFile(c.file).section) + "]\n" + c.text);
        EXPECT_EQ(keyNamed(c.key).field.number(read.settings), c.used) << c.text;
        EXPECT_TRUE(*c.line ? read.lines.find(c.line) != std::string::npos : read.lines.empty()) << read.lines;
        EXPECT_GT(read.settings.camera.far, read.settings.camera.near) << c.text;
    }
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

// A row added to the table is read, checked, listed by --help and documented.
TEST(SettingsTable, ARowAddedIsReadCheckedListedAndDocumented)
{
    SettingsTable table = settingsTable();
    table.push_back({SettingsFileId::camera, "zoom", fieldOf<&CameraSettings::fov>(), "how near the view seems",
                     between(0, 90), "is not a zoom between 0 and 90"});
    EXPECT_EQ(readText(SettingsFileId::camera, "[camera]\nzoom = 45", table).settings.camera.fov, 45.0f);
    EXPECT_EQ(readText(SettingsFileId::camera, "[camera]\nzoom = 95", table).lines,
              "WARNING: '': zoom = 95 is not a zoom between 0 and 90. Using 60 instead.\n");
    std::ostringstream help;
    printUsage(help, table);
    EXPECT_NE(help.str().find(" invert_y, zoom\n"), std::string::npos) << help.str();
    EXPECT_NE(settingsReadmeTables(table).find("| `zoom` | 60 | between 0 and 90 | how near the view seems |\n"),
              std::string::npos);
    EXPECT_NE(settingsManSection(table).find(".B zoom\nHow near the view seems.\nDefault: 60; between 0 and 90.\n"),
              std::string::npos);
}

// README.md and the man page show the table as it is: when this fails,
// paste the text it prints in place of the old one.
TEST(SettingsTable, TheReadmeAndTheManPageShowTheTable)
{
    for (const auto& [path, text] : {std::pair{"/README.md", settingsReadmeTables()},
                                     std::pair{"/packaging/glimmerdeep.6", settingsManSection()}})
        EXPECT_NE(readWholeFile(sourceDir() + path).value_or("").find(text), std::string::npos)
            << path << " should hold:\n" << text;
}

// The player's own files override the shipped ones key by key and lie under
// a file named on the command line; a line names the file that gave a bad value.
TEST(PlayerSettings, OverrideTheShippedFilesKeyByKey)
{
    const std::string folder = makeScratchDir("player_settings") + "/glimmerdeep";
    writeFile(folder + "/window.ini", "[window]\nwidth = 99999\ntitle = Mine\n");
    writeFile(folder + "/camera_front.ini", "[camera]\nfov = 75\nnear = -1\ninvert_y = yes\n");
    std::filesystem::create_directories(folder + "/renderer_standard.ini");  // no file to read
    std::ostringstream console;
    Settings settings = loadSettings(CommandLineOptions{}, console, folder);
    EXPECT_EQ(settings.window.title, "Mine");
    EXPECT_EQ(settings.window.height, 720);  // the shipped file's
    EXPECT_EQ(settings.camera.fov, 75.0f);
    EXPECT_EQ(settings.givenByPlayer, (std::set<std::string>{"window.width", "window.title", "camera.fov",
                                                             "camera.near", "camera.invert_y"}));
    EXPECT_EQ(console.str(), "WARNING: '" + folder + "/camera_front.ini': near = -1 is not a distance above 0. "
                             "Using 0.1 instead.\nWARNING: '" + folder + "/renderer_standard.ini' cannot be read. "
                             "It is ignored.\n");
    std::ostringstream fitted;
    fitWindowSize(settings, 1280, 1024, "is more than the screen shows", fitted);
    EXPECT_EQ(settings.window.width, 1280);
    EXPECT_EQ(fitted.str(), "WARNING: '" + folder + "/window.ini': width = 99999 is more than the screen shows. "
                            "Using 1280 instead.\n");

    CommandLineOptions options;
    options.cameraSettingsPath = "assets/settings/camera_wide.ini";
    options.rendererSettingsPath = "assets/settings/renderer_debug.ini";
    const Settings wide = loadSettings(options, console, folder);
    EXPECT_EQ(wide.camera.fov, 85.0f);
    EXPECT_TRUE(wide.renderer.wireframe);
    EXPECT_EQ(wide.camera.near, 0.05f);
    EXPECT_TRUE(wide.camera.invertY);  // not in the named file
    EXPECT_TRUE(wide.audio.enabled);
    EXPECT_EQ(wide.givenByPlayer.count("renderer.wireframe"), 1u);  // a named file is the player's too
    options.noSound = true;
    EXPECT_FALSE(loadSettings(options, console, folder).audio.enabled);
}

// quality = auto lowers the scale, the glow's targets and the window's
// samples on a software renderer only, to a budget of pixels, and leaves the
// keys the player set; --menu asks for auto unless the player chose quality.
TEST(RenderQuality, AutoLowersTheQualityOnASoftwareRendererOnlyAndThePlayersKeysWin)
{
    const std::string llvmpipe = "llvmpipe (LLVM 15.0.7, 256 bits)", gpu = "NVIDIA GeForce RTX 3060/PCIe/SSE2";
    const auto asked = [](RenderQuality quality, double scale = 1.0, BloomResolution bloom = BloomResolution::full) {
        RendererSettings settings;
        settings.quality = quality;
        settings.render_scale = scale;
        settings.bloom_resolution = bloom;
        return settings;
    };
    const RenderQuality full = RenderQuality::full, automatic = RenderQuality::automatic;
    const BloomResolution half = BloomResolution::half, quarter = BloomResolution::quarter;
    const struct {
        std::string renderer;
        int width, height;
        RendererSettings asked;
        std::set<std::string> players;
        bool playerMode;
        double scale;
        BloomResolution bloom;
    } cases[] = {
        {llvmpipe, 1280, 720, asked(automatic), {}, false, 0.45, half},
        {"softpipe", 800, 800, asked(automatic), {}, false, 0.55, half},
        {"Mesa swrast", 3840, 2160, asked(automatic), {}, false, 0.25, half},
        {gpu, 1280, 720, asked(automatic), {}, false, 1.0, BloomResolution::full},
        {llvmpipe, 1280, 720, asked(full), {}, false, 1.0, BloomResolution::full},
        {llvmpipe, 1280, 720, asked(automatic, 0.8), {"renderer.render_scale"}, false, 0.8, half},
        {llvmpipe, 1280, 720, asked(automatic, 1.0, quarter), {"renderer.bloom_resolution"}, false, 0.45, quarter},
        {llvmpipe, 1280, 720, asked(full), {}, true, 0.45, half},
        {llvmpipe, 1280, 720, asked(full), {"renderer.quality"}, true, 1.0, BloomResolution::full},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.renderer + " " + std::to_string(c.width) + (c.playerMode ? " --menu" : ""));
        const QualityChoice choice = chooseRenderQuality(c.renderer, c.width, c.height, c.asked, c.players, c.playerMode);
        EXPECT_DOUBLE_EQ(choice.settings.render_scale, c.scale);
        EXPECT_EQ(choice.settings.bloom_resolution, c.bloom);
        const bool lowered = c.bloom != BloomResolution::full;
        EXPECT_EQ(choice.multisample, !lowered);
        EXPECT_EQ(choice.line.empty(), !lowered);
    }
    EXPECT_EQ(chooseRenderQuality(llvmpipe, 1280, 720, asked(automatic), {}).line,
              "Quality auto: '" + llvmpipe + "' draws without a graphics card; render_scale 0.45, "
                                             "bloom_resolution half, one sample per pixel.");
}

// A saved key keeps every other line of the file; it replaces the value the
// reader keeps, or joins its section, or starts it.
TEST(PlayerSettings, ASavedKeyKeepsTheRestOfTheFile)
{
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"", "[camera]\nfov = 75\n"},
        {"; mine\n[Camera]\nFOV = 60 ; wide\nnear = 1\n\n; the renderer\n[renderer]\n",
         "; mine\n[Camera]\nfov = 75 ; wide\nnear = 1\n\n; the renderer\n[renderer]\n"},
        {"[camera]\nfov = 1\n[window]\nfov = 2\n[camera]\nfov = 3\nnear = 1",
         "[camera]\nfov = 1\n[window]\nfov = 2\n[camera]\nfov = 75\nnear = 1\n"},
        {"[camera]\nnear = 1\n\n[window]\n", "[camera]\nnear = 1\nfov = 75\n\n[window]\n"},
        {"[window]\nwidth = 5\n", "[window]\nwidth = 5\n\n[camera]\nfov = 75\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withSetting(c.before, "camera", "fov", "75"), c.after) << c.before;
}

// A save is read at the next start; one killed before its rename, or one
// that fails, leaves the old file whole, with a line for the failure.
TEST(PlayerSettings, ASaveIsReadBackAndAFailedOneLosesNothing)
{
    const std::string folder = makeScratchDir("player_settings_save") + "/glimmerdeep";
    const std::string path = folder + "/camera_front.ini";
    std::ostringstream console;
    ASSERT_TRUE(saveSetting(folder, keyNamed("fov"), "75", console));
    writeFile(path + ".new", "[camera]\nfov = 10\n");  // left by a kill before the rename
    EXPECT_EQ(loadSettings(CommandLineOptions{}, console, folder).camera.fov, 75.0f);
    ASSERT_TRUE(saveSetting(folder, keyNamed("invert_y"), "yes", console));
    EXPECT_EQ(console.str(), "");

    std::filesystem::create_directory(path + ".new");  // cannot be written
    EXPECT_FALSE(saveSetting(folder, keyNamed("fov"), "90", console));
    EXPECT_FALSE(saveSetting(path, keyNamed("fov"), "90", console));  // no folder can be made there
    EXPECT_EQ(console.str(), "Cannot save fov in '" + path + "': '" + path + ".new' could not be written in full.\n"
                             "Cannot save fov in '" + path + "/camera_front.ini': its folder cannot be made.\n");
    EXPECT_EQ(readWholeFile(path), "[camera]\nfov = 75\ninvert_y = yes\n");
}
