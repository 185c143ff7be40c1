// The menus' rules: items, focus, commands and choices.
#include "game/menu.h"

#include "game/menu_layout.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

constexpr float volumeStep = 0.1f;
constexpr float sensitivityStep = 0.0005f;
constexpr float lowestSensitivity = 0.0005f;
constexpr float highestSensitivity = 0.01f;

MenuItems listOf(std::initializer_list<MenuItem> items)
{
    MenuItems list;
    for (const MenuItem item : items)
        list.items[static_cast<std::size_t>(list.count++)] = item;
    return list;
}

bool isOption(MenuItem item)
{
    return item >= MenuItem::masterVolume;
}

// `value` moved by `steps` of `step` on the grid from `low` to `high`; past
// an end it stays there, or with `wrap` starts again from the lowest.
float stepped(float value, int steps, float step, float low, float high, bool wrap)
{
    const float onGrid = low + std::round((value - low) / step) * step;
    const float next = onGrid + static_cast<float>(steps) * step;
    if (wrap && next > high + 0.5f * step)
        return low;
    return std::clamp(next, low, high);
}

// Changes the option of `item` by one step up (+1) or down (-1).
void changeOption(PlayerOptions& options, MenuItem item, int direction, bool wrap)
{
    const auto volume = [&](float& value) { value = stepped(value, direction, volumeStep, 0.0f, 1.0f, wrap); };
    switch (item) {
    case MenuItem::masterVolume: volume(options.masterVolume); break;
    case MenuItem::effectsVolume: volume(options.effectsVolume); break;
    case MenuItem::ambienceVolume: volume(options.ambienceVolume); break;
    case MenuItem::mouseSensitivity:
        options.mouseSensitivity = stepped(options.mouseSensitivity, direction, sensitivityStep, lowestSensitivity,
                                           highestSensitivity, wrap);
        break;
    case MenuItem::invertY: options.invertY = !options.invertY; break;
    case MenuItem::glowQuality:
        options.glowQuality = wrap ? (options.glowQuality + 1) % 3 : std::clamp(options.glowQuality + direction, 0, 2);
        break;
    case MenuItem::fullscreen: options.fullscreen = !options.fullscreen; break;
    case MenuItem::vsync: options.vsync = !options.vsync; break;
    default: break;
    }
}

// Where `item` stands on `screen`'s list.
int indexOf(MenuScreen screen, MenuItem item)
{
    const MenuItems items = menuItems(screen);
    for (int i = 0; i < items.count; ++i) {
        if (items.items[static_cast<std::size_t>(i)] == item)
            return i;
    }
    return 0;
}

// The course `steps` along the list, round its ends; nothing with one course or none.
MenuChoice stepCourse(Menu& menu, int steps)
{
    const int count = static_cast<int>(menu.courses.size());
    if (count < 2)
        return {};
    selectCourse(menu, ((menu.course + steps) % count + count) % count);
    return {MenuRequest::courseChanged, MenuItem::course};
}

void show(Menu& menu, MenuScreen screen, int focus = 0)
{
    menu.screen = screen;
    menu.focus = focus;
}

// The focused item chosen, by confirm or a click.
MenuChoice choose(Menu& menu, MenuItem item)
{
    switch (item) {
    case MenuItem::fly: show(menu, MenuScreen::none); return {MenuRequest::fly};
    case MenuItem::resume: show(menu, MenuScreen::none); return {MenuRequest::resume};
    case MenuItem::restart:
    case MenuItem::again: show(menu, MenuScreen::none); return {MenuRequest::restart};
    case MenuItem::toTitle:
        show(menu, MenuScreen::title);
        menu.titleTime = 0.0;
        return {MenuRequest::toTitle};
    case MenuItem::quit: return {MenuRequest::quit};
    case MenuItem::options:
        menu.optionsFrom = menu.screen;
        show(menu, MenuScreen::options);
        return {};
    case MenuItem::back:
        show(menu, menu.optionsFrom, indexOf(menu.optionsFrom, MenuItem::options));  // back on "Options"
        return {};
    case MenuItem::course: return stepCourse(menu, 1);
    default:
        changeOption(menu.options, item, 1, true);
        return {MenuRequest::optionChanged, item};
    }
}

// Back, or Escape: leaves the screen the way its obvious item does.
MenuChoice goBack(Menu& menu)
{
    switch (menu.screen) {
    case MenuScreen::title: menu.focus = indexOf(MenuScreen::title, MenuItem::quit); return {};  // a second Enter quits
    case MenuScreen::pause: return choose(menu, MenuItem::resume);
    case MenuScreen::options: return choose(menu, MenuItem::back);
    case MenuScreen::result: return choose(menu, MenuItem::toTitle);
    case MenuScreen::none: return {};
    }
    return {};
}

MenuChoice command(Menu& menu, MenuCommand command)
{
    const MenuItems items = menuItems(menu.screen);
    if (items.count == 0)
        return {};
    const MenuItem focused = items.items[static_cast<std::size_t>(menu.focus)];
    switch (command) {
    case MenuCommand::up: menu.focus = (menu.focus + items.count - 1) % items.count; return {};
    case MenuCommand::down: menu.focus = (menu.focus + 1) % items.count; return {};
    case MenuCommand::left:
    case MenuCommand::right:
        if (focused == MenuItem::course)
            return stepCourse(menu, command == MenuCommand::right ? 1 : -1);
        if (!isOption(focused))
            return {};
        changeOption(menu.options, focused, command == MenuCommand::right ? 1 : -1, false);
        return {MenuRequest::optionChanged, focused};
    case MenuCommand::confirm: return choose(menu, focused);
    case MenuCommand::back: return goBack(menu);
    case MenuCommand::again:
        return menu.screen == MenuScreen::result ? choose(menu, MenuItem::again) : MenuChoice{};
    }
    return {};
}

bool inside(glm::vec2 point, const glm::vec4& box)
{
    return point.x >= box.x && point.x < box.z && point.y >= box.y && point.y < box.w;
}

}  // namespace

MenuItems menuItems(MenuScreen screen)
{
    switch (screen) {
    case MenuScreen::title: return listOf({MenuItem::fly, MenuItem::course, MenuItem::options, MenuItem::quit});
    case MenuScreen::pause: return listOf({MenuItem::resume, MenuItem::restart, MenuItem::options, MenuItem::toTitle});
    case MenuScreen::options:
        return listOf({MenuItem::masterVolume, MenuItem::effectsVolume, MenuItem::ambienceVolume,
                       MenuItem::mouseSensitivity, MenuItem::invertY, MenuItem::glowQuality, MenuItem::fullscreen,
                       MenuItem::vsync, MenuItem::back});
    case MenuScreen::result: return listOf({MenuItem::again, MenuItem::toTitle});
    case MenuScreen::none: return {};
    }
    return {};
}

Menu titleMenu(const PlayerOptions& options, std::optional<double> bestTime)
{
    Menu menu;
    menu.screen = MenuScreen::title;
    menu.options = options;
    menu.bestTime = bestTime;
    return menu;
}

void selectCourse(Menu& menu, int index)
{
    if (index < 0 || index >= static_cast<int>(menu.courses.size()))
        return;
    menu.courses[static_cast<std::size_t>(menu.course)].bestTime = menu.bestTime;
    menu.course = index;
    menu.bestTime = menu.courses[static_cast<std::size_t>(index)].bestTime;
}

void openPauseMenu(Menu& menu)
{
    show(menu, MenuScreen::pause);
}

void showResult(Menu& menu, const RunSummary& run)
{
    show(menu, MenuScreen::result);
    menu.lastRun = run;
    menu.newBest = run.won && (!menu.bestTime || run.time < *menu.bestTime);
    if (menu.newBest)
        menu.bestTime = run.time;
}

MenuChoice stepMenu(Menu& menu, const MenuInput& input, float width, float height)
{
    for (int i = 0; i < input.count; ++i) {
        const MenuChoice choice = command(menu, input.commands[static_cast<std::size_t>(i)]);
        if (choice.request != MenuRequest::none)
            return choice;
    }
    if (!input.pointerMoved && !input.clicked)
        return {};
    const MenuLayout layout = menuLayout(menu, width, height);
    for (int i = 0; i < layout.itemCount; ++i) {
        if (!inside(input.pointer, layout.itemBoxes[static_cast<std::size_t>(i)]))
            continue;
        menu.focus = i;
        if (input.clicked)
            return choose(menu, menuItems(menu.screen).items[static_cast<std::size_t>(i)]);
    }
    return {};
}
