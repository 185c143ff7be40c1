// The menus' lines, sizes and boxes.
#include "game/menu_layout.h"

#include "game/baked_font.h"
#include "game/course_id.h"
#include "game/projection.h"
#include "game/text_layout.h"

#include <glm/ext/matrix_transform.hpp>
#include <glm/trigonometric.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr float headingScale = 1.5f;   // the first line against the others
constexpr float rowHeight = 1.4f;      // a row's height in line heights
constexpr float largestShare = 0.065f;  // line height as a share of the smaller side
constexpr float usedHeight = 0.86f;    // of the window, at most, by all rows
constexpr float usedWidth = 0.84f;     // of the window, at most, by the widest line

constexpr float titleCameraRadius = 3.6f;
constexpr float titleCameraHeight = 2.5f;
constexpr float titleCameraTurn = 0.12f;  // radians a second
constexpr float titleLookHeight = 9.0f;

const char* onOff(bool on)
{
    return on ? "on" : "off";
}

void appendPercent(HudTextLine& line, float volume)
{
    line.appendNumber(std::lround(volume * 100.0f));
    line.append("%");
}

void writeItem(HudTextLine& line, MenuItem item, const Menu& menu)
{
    const PlayerOptions& options = menu.options;
    switch (item) {
    case MenuItem::fly: line.append("Fly"); break;
    case MenuItem::course:
        line.append("Course ");
        // A view either way: a std::string made here would allocate every frame.
        line.append(menu.courses.empty() ? std::string_view(classicCourseName)
                                         : std::string_view(menu.courses[static_cast<std::size_t>(menu.course)].name));
        break;
    case MenuItem::options: line.append("Options"); break;
    case MenuItem::quit: line.append("Quit"); break;
    case MenuItem::resume: line.append("Resume"); break;
    case MenuItem::restart: line.append("Restart"); break;
    case MenuItem::toTitle: line.append("Title"); break;
    case MenuItem::again: line.append("Again"); break;
    case MenuItem::back: line.append("Back"); break;
    case MenuItem::masterVolume: line.append("Master volume "); appendPercent(line, options.masterVolume); break;
    case MenuItem::effectsVolume: line.append("Effects volume "); appendPercent(line, options.effectsVolume); break;
    case MenuItem::ambienceVolume:
        line.append("Ambience volume ");
        appendPercent(line, options.ambienceVolume);
        break;
    case MenuItem::mouseSensitivity: {
        // In thousandths of a radian per unit: the default reads 2.0.
        const long long tenths = std::llround(options.mouseSensitivity * 10000.0f);
        line.append("Mouse sensitivity ");
        line.appendNumber(tenths / 10);
        line.append(".");
        line.appendNumber(tenths % 10);
        break;
    }
    case MenuItem::invertY: line.append("Invert Y "); line.append(onOff(options.invertY)); break;
    case MenuItem::glowQuality: {
        constexpr const char* names[] = {"full", "half", "quarter"};
        line.append("Glow quality ");
        line.append(names[std::clamp(options.glowQuality, 0, 2)]);
        break;
    }
    case MenuItem::fullscreen: line.append("Fullscreen "); line.append(onOff(options.fullscreen)); break;
    case MenuItem::vsync: line.append("Vsync "); line.append(onOff(options.vsync)); break;
    }
}

void writeBest(HudTextLine& line, const Menu& menu)
{
    if (!menu.bestTime) {
        line.append("No best time yet");
        return;
    }
    line.append("Best time ");
    line.appendSeconds(*menu.bestTime);
}

// The heading lines of a screen, each with its text, sizes still unset.
void writeHeadings(HudText& text, const Menu& menu)
{
    const auto next = [&text]() -> HudTextLine& { return text.lines[static_cast<std::size_t>(text.count++)]; };
    switch (menu.screen) {
    case MenuScreen::title:
        next().append("Glimmerdeep");
        writeBest(next(), menu);
        break;
    case MenuScreen::pause: next().append("Paused"); break;
    case MenuScreen::options: next().append("Options"); break;
    case MenuScreen::result: {
        next().append(menu.lastRun.won ? "You made it!" : "Game over");
        HudTextLine& time = next();
        time.append("Time ");
        time.appendSeconds(menu.lastRun.time);
        HudTextLine& rings = next();
        rings.append("Rings ");
        rings.appendNumber(menu.lastRun.rings);
        rings.append(" / ");
        rings.appendNumber(menu.lastRun.ringCount);
        HudTextLine& best = next();
        writeBest(best, menu);
        if (menu.newBest)
            best.append("  New best!");
        break;
    }
    case MenuScreen::none: break;
    }
}

}  // namespace

MenuLayout menuLayout(const Menu& menu, float width, float height)
{
    MenuLayout layout;
    HudText& text = layout.text;
    writeHeadings(text, menu);
    const int headings = text.count;
    const MenuItems items = menuItems(menu.screen);
    for (int i = 0; i < items.count; ++i)
        writeItem(text.lines[static_cast<std::size_t>(text.count++)], items.items[static_cast<std::size_t>(i)], menu);
    layout.itemCount = items.count;
    if (text.count == 0 || width <= 0.0f || height <= 0.0f)
        return layout;

    // One size for all: as large as the window allows, in height and in width.
    const auto scaleOf = [](int line) { return line == 0 ? headingScale : 1.0f; };
    float rows = 0.0f, widest = 0.0f;
    for (int i = 0; i < text.count; ++i) {
        rows += scaleOf(i) * rowHeight;
        widest = std::max(widest, scaleOf(i) * textWidth(atlasFont, text.lines[static_cast<std::size_t>(i)].text(), 1.0f));
    }
    const float size = std::min({largestShare * std::min(width, height), usedHeight * height / rows,
                                 usedWidth * width / widest});

    float top = 0.5f * (height + rows * size);
    const float pad = 0.6f * size;
    layout.panel = {width, height, 0.0f, 0.0f};
    for (int i = 0; i < text.count; ++i) {
        HudTextLine& line = text.lines[static_cast<std::size_t>(i)];
        line.size = scaleOf(i) * size;
        const float row = line.size * rowHeight;
        line.origin = {0.5f * (width - textWidth(atlasFont, line.text(), line.size)), top - 0.5f * (row + line.size)};
        const glm::vec4 bounds = hudTextBounds(line);
        layout.panel = {std::min(layout.panel.x, bounds.x - pad), top - row, std::max(layout.panel.z, bounds.z + pad),
                        std::max(layout.panel.w, top)};
        if (i >= headings)
            layout.itemBoxes[static_cast<std::size_t>(i - headings)] = {0.0f, top - row, 0.0f, top};
        top -= row;
    }
    layout.panel.y = top;
    layout.panel = glm::clamp(layout.panel, glm::vec4(0.0f), glm::vec4(width, height, width, height));
    for (int i = 0; i < items.count; ++i) {
        glm::vec4& box = layout.itemBoxes[static_cast<std::size_t>(i)];
        box.x = layout.panel.x;
        box.z = layout.panel.z;
    }
    if (menu.focus >= 0 && menu.focus < items.count)
        layout.focusBox = layout.itemBoxes[static_cast<std::size_t>(menu.focus)];
    return layout;
}

CameraView titleView(double seconds, const CameraSettings& camera, float aspect)
{
    const float angle = static_cast<float>(std::fmod(seconds * titleCameraTurn, 2.0 * 3.14159265358979));
    CameraView view;
    view.eye = {titleCameraRadius * std::cos(angle), titleCameraHeight, titleCameraRadius * std::sin(angle)};
    // Looking up the far side of the shaft, towards the rings and the sky.
    const glm::vec3 target{-0.4f * view.eye.x, titleLookHeight, -0.4f * view.eye.z};
    view.view = glm::lookAt(view.eye, target, glm::vec3(0.0f, 1.0f, 0.0f));
    view.projection = projectionMatrix(glm::radians(camera.fov), aspect, camera.near, camera.far);
    view.viewProjection = view.projection * view.view;
    return view;
}
