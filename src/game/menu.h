// The player's menus: the title screen, the pause menu, the options screen
// and the result screen. Which screen shows, which item has the focus, what
// a command or a click does, and what a choice asks the game to do. The
// commands are abstract (up, confirm, back); the app turns keys, the mouse
// and the gamepad into them. Fixed storage: stepping allocates nothing.
#pragma once

#include <glm/vec2.hpp>

#include <array>
#include <optional>
#include <string>
#include <vector>

enum class MenuScreen { none, title, pause, options, result };  // none: playing

enum class MenuItem {
    fly, course, options, quit, resume, restart, toTitle, again, back,
    // The options screen's rows, each one of the player's options.
    masterVolume, effectsVolume, ambienceVolume, mouseSensitivity, invertY, glowQuality, fullscreen, vsync,
};

// The values the options screen changes; glowQuality 0 full, 1 half, 2 quarter.
struct PlayerOptions {
    float masterVolume = 1.0f;
    float effectsVolume = 1.0f;
    float ambienceVolume = 0.6f;
    float mouseSensitivity = 0.002f;  // radians per screen unit
    bool invertY = false;
    int glowQuality = 0;
    bool fullscreen = false;
    bool vsync = false;
};

enum class MenuCommand { up, down, left, right, confirm, back, again };

struct MenuInput {
    static constexpr int capacity = 16;
    std::array<MenuCommand, capacity> commands{};  // in the order they came
    int count = 0;
    glm::vec2 pointer{0.0f};     // the mouse, framebuffer pixels from the bottom-left
    bool pointerMoved = false;   // hovering moves the focus only when the mouse moves
    bool clicked = false;

    void add(MenuCommand command)
    {
        if (count < capacity)
            commands[static_cast<std::size_t>(count++)] = command;
    }
};

// What a choice asks of the game.
enum class MenuRequest { none, fly, resume, restart, toTitle, quit, optionChanged, courseChanged };

struct MenuChoice {
    MenuRequest request = MenuRequest::none;
    MenuItem option = MenuItem::back;  // the row that changed, with optionChanged
};

struct RunSummary {
    bool won = false;
    double time = 0.0;  // seconds
    int rings = 0;
    int ringCount = 0;  // the course's rings
};

// A course the title offers, with the best time kept for it.
struct MenuCourse {
    std::string name;
    std::optional<double> bestTime;  // seconds
};

struct Menu {
    MenuScreen screen = MenuScreen::none;
    MenuScreen optionsFrom = MenuScreen::title;  // where the options screen goes back to
    int focus = 0;
    PlayerOptions options;
    std::optional<double> bestTime;  // seconds, the best won run kept on the selected course
    std::vector<MenuCourse> courses;  // the title's course list, filled once; empty: no course row choice
    int course = 0;                   // the selected one, the course of the next run
    RunSummary lastRun;
    bool newBest = false;     // the last run set bestTime
    double titleTime = 0.0;   // seconds the title has been up, for its camera
};

inline constexpr int maxMenuItems = 9;

struct MenuItems {
    std::array<MenuItem, maxMenuItems> items{};
    int count = 0;
};

// The items of the screen showing, top to bottom; none while playing.
MenuItems menuItems(MenuScreen screen);

// The title screen with these options and best time, "Fly" focused.
Menu titleMenu(const PlayerOptions& options, std::optional<double> bestTime);

// Selects course `index` of the list, its best time with it; the best time
// shown so far stays with the course left.
void selectCourse(Menu& menu, int index);

// Opens the pause menu, "Resume" focused.
void openPauseMenu(Menu& menu);

// The result screen after a run: "Again" focused; a won run faster than the
// best time so far becomes the best time.
void showResult(Menu& menu, const RunSummary& run);

// Applies the frame's commands, then the pointer: moving over an item
// focuses it, a click chooses the item under it. Up and down move the focus
// round the items; left and right change an option, or the title's course,
// down and up, confirm changes it up (round to its lowest, or the first
// course) or chooses an item; back leaves the
// screen (on the title it focuses "Quit"). The first choice that asks
// something of the game ends the frame's input. The items lie where
// menuLayout puts them in a framebuffer of `width` by `height` pixels.
MenuChoice stepMenu(Menu& menu, const MenuInput& input, float width, float height);
