#include "player_menu.h"

#include "settings_table.h"
#include "settings_writer.h"

#include <GLFW/glfw3.h>

#include <algorithm>

namespace {

int glowQualityOf(BloomResolution bloom)
{
    return bloom == BloomResolution::quarter ? 2 : bloom == BloomResolution::half ? 1 : 0;
}

// The menus' options into the settings, the camera and the switches.
void applyOptions(App& app)
{
    const PlayerOptions& options = app.menu.options;
    Settings& settings = app.settings;
    settings.audio.masterVolume = options.masterVolume;
    settings.audio.effectsVolume = options.effectsVolume;
    settings.audio.ambienceVolume = options.ambienceVolume;
    settings.camera.mouseSensitivity = options.mouseSensitivity;
    settings.camera.invertY = options.invertY;
    app.simulation.camera.mouseSensitivity = options.mouseSensitivity;
    app.simulation.camera.invertY = options.invertY;
    constexpr BloomResolution glows[] = {BloomResolution::full, BloomResolution::half, BloomResolution::quarter};
    settings.renderer.bloom_resolution = glows[std::clamp(options.glowQuality, 0, 2)];
    settings.window.fullscreen = options.fullscreen;
    app.switches.isFullscreen = options.fullscreen;
    settings.window.vsync = options.vsync;
}

// A key released while a menu shows, as the menus' command.
std::optional<MenuCommand> commandOf(int key, MenuScreen screen)
{
    switch (key) {
    case GLFW_KEY_UP: return MenuCommand::up;
    case GLFW_KEY_DOWN: return MenuCommand::down;
    case GLFW_KEY_LEFT: return MenuCommand::left;
    case GLFW_KEY_RIGHT: return MenuCommand::right;
    case GLFW_KEY_ENTER:
    case GLFW_KEY_KP_ENTER:
    case GLFW_KEY_SPACE: return MenuCommand::confirm;
    case GLFW_KEY_ESCAPE:
    case GLFW_KEY_BACKSPACE: return MenuCommand::back;  // Backspace is the gamepad's B
    case GLFW_KEY_P:
        return screen == MenuScreen::pause ? std::optional<MenuCommand>(MenuCommand::back) : std::nullopt;
    case GLFW_KEY_R: return MenuCommand::again;
    default: return std::nullopt;
    }
}

// The frame's keys, pointer and click as the menus see them. The cursor's
// screen units are taken as framebuffer pixels, as they are on X11; its y
// grows downwards.
MenuInput menuInputOf(const App& app, const FrameInput& input)
{
    MenuInput menu;
    for (int i = 0; i < input.events.keyReleaseCount; ++i) {
        if (const std::optional<MenuCommand> command = commandOf(input.events.keyReleases[i], app.menu.screen))
            menu.add(*command);
    }
    menu.pointer = {static_cast<float>(input.cursor.x),
                    static_cast<float>(input.framebufferHeight - input.cursor.y)};
    const CursorPosition before = app.simulation.lastCursor;
    // The cursor jumps in the frame after it is freed for a menu: no hover then.
    menu.pointerMoved = app.menuSteadyFrames >= 2 && (input.cursor.x != before.x || input.cursor.y != before.y);
    menu.clicked = input.events.clicked;
    return menu;
}

// While playing: P and Escape open the pause menu, as losing the focus
// does; every other key keeps its shortcut.
void stepWhilePlaying(App& app, const WindowEvents& events, std::vector<std::string>& said)
{
    WindowEvents shortcuts;
    bool pause = events.focusLost;
    for (int i = 0; i < events.keyReleaseCount; ++i) {
        const int key = events.keyReleases[i];
        if (key == GLFW_KEY_P || key == GLFW_KEY_ESCAPE)
            pause = true;
        else
            shortcuts.release(key);
    }
    applyShortcuts(app, shortcuts, said);
    if (pause && app.runEnd == RunEnd::none) {
        openPauseMenu(app.menu);
        said.emplace_back("Paused\n");
    }
}

const char* screenLine(MenuScreen screen, MenuRequest request)
{
    switch (screen) {
    case MenuScreen::title: return "Title screen\n";
    case MenuScreen::pause: return "Paused\n";
    case MenuScreen::options: return "Options screen\n";
    case MenuScreen::result: return "Result screen\n";
    case MenuScreen::none: break;
    }
    return request == MenuRequest::fly ? "Run started\n" : request == MenuRequest::resume ? "Resumed\n" : "Restarted\n";
}

}  // namespace

PlayerOptions playerOptionsOf(const Settings& settings, const Switches& switches)
{
    PlayerOptions options;
    options.masterVolume = settings.audio.masterVolume;
    options.effectsVolume = settings.audio.effectsVolume;
    options.ambienceVolume = settings.audio.ambienceVolume;
    options.mouseSensitivity = settings.camera.mouseSensitivity;
    options.invertY = settings.camera.invertY;
    options.glowQuality = glowQualityOf(settings.renderer.bloom_resolution);
    options.fullscreen = switches.isFullscreen;
    options.vsync = settings.window.vsync;
    return options;
}

void showTitle(App& app, std::optional<double> bestTime)
{
    app.menu = titleMenu(playerOptionsOf(app.settings, app.switches), bestTime);
    app.switches.paused = true;
}

MenuChoice stepPlayerMenu(App& app, const FrameInput& input, std::vector<std::string>& said)
{
    Menu& menu = app.menu;
    const MenuScreen before = menu.screen;
    app.menuSteadyFrames = before == app.menuLastFrame ? app.menuSteadyFrames + 1 : 0;
    MenuChoice choice;
    if (menu.screen == MenuScreen::none) {
        stepWhilePlaying(app, input.events, said);
    } else {
        menu.options.fullscreen = app.switches.isFullscreen;  // F3 may have switched it
        choice = stepMenu(menu, menuInputOf(app, input), static_cast<float>(input.framebufferWidth),
                          static_cast<float>(input.framebufferHeight));
    }
    switch (choice.request) {
    case MenuRequest::fly:
    case MenuRequest::restart:
    case MenuRequest::toTitle: restartRun(app); break;
    case MenuRequest::optionChanged: applyOptions(app); break;
    default: break;
    }
    if (menu.screen != before && before != MenuScreen::none)
        said.emplace_back(screenLine(menu.screen, choice.request));
    app.menuLastFrame = before;
    app.switches.paused = menu.screen != MenuScreen::none && menu.screen != MenuScreen::result;
    return choice;
}

void saveOption(const App& app, MenuItem item, const std::string& folder, std::ostream& console)
{
    const struct {
        MenuItem item;
        const char* key;
    } keys[] = {{MenuItem::masterVolume, "master_volume"}, {MenuItem::effectsVolume, "effects_volume"},
                {MenuItem::ambienceVolume, "ambience_volume"}, {MenuItem::mouseSensitivity, "mouse_sensitivity"},
                {MenuItem::invertY, "invert_y"},           {MenuItem::glowQuality, "bloom_resolution"},
                {MenuItem::fullscreen, "fullscreen"},      {MenuItem::vsync, "vsync"}};
    for (const auto& entry : keys) {
        if (entry.item != item)
            continue;
        for (const SettingKey& key : settingsTable()) {
            if (std::string_view(key.name) != entry.key)
                continue;
            const std::string value = key.field.write(app.settings, key.words);
            if (saveSetting(folder, key, value, console))
                console << "Option saved: " << key.name << " = " << value << std::endl;
        }
    }
}
