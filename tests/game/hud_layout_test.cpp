// The HUD and the menus as the layout gives them: what each line says, how
// long a message stays, and that every shape and line fits the screen at any size.
#include "game/hud_layout.h"
#include "game/menu_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(const HudStatus& status, float width = 800.0f, float height = 600.0f)
{
    const HudText text = hudText(status, width, height);
    std::vector<std::string> lines;
    for (int i = 0; i < text.count; ++i)
        lines.emplace_back(text.lines[i].text());
    return lines;
}

// Left, bottom, right, top of `points` placed by `model`.
glm::vec4 boundsOf(const glm::mat4& model, const std::vector<glm::vec2>& points)
{
    glm::vec4 box(1e9f, 1e9f, -1e9f, -1e9f);
    for (const glm::vec2 point : points) {
        const glm::vec4 at = model * glm::vec4(point, 0.0f, 1.0f);
        box = {std::min(box.x, at.x), std::min(box.y, at.y), std::max(box.z, at.x), std::max(box.w, at.y)};
    }
    return box;
}

}  // namespace

TEST(HudLayout, LinesSayTheRingsTheTimeAndTheMomentsMessage)
{
    const HudMessage ring3 = nextHudMessage({}, 2, false, 4.0);
    const HudMessage outOfPower = nextHudMessage(ring3, 4, true, 9.0);
    const struct {
        HudStatus status;
        std::vector<std::string> lines;
    } cases[] = {
        {{0, 0.0, {}, false, RunEnd::none, 15}, {"Rings 0 / 15", "0.0 s"}},
        {{3, 4.0, ring3, false, RunEnd::none, 15}, {"Rings 3 / 15", "4.0 s", "Ring 3"}},
        {{3, 5.44, ring3, false, RunEnd::none, 15}, {"Rings 3 / 15", "5.4 s", "Ring 3"}},
        {{3, 5.5, ring3, false, RunEnd::none, 24}, {"Rings 3 / 24", "5.5 s"}},
        {{3, 4.2, ring3, true, RunEnd::none, 15}, {"Rings 3 / 15", "4.2 s", "Ring 3", "Paused"}},
        {{5, 9.0, outOfPower, false, RunEnd::none, 15}, {"Rings 5 / 15", "9.0 s", "Out of power!"}},
        {{5, 10.2, outOfPower, false, RunEnd::lost, 15}, {"Rings 5 / 15", "10.2 s", "Game over"}},
        {{15, 10.63, ring3, false, RunEnd::won, 15}, {"Rings 15 / 15", "10.6 s", "You made it! 10.6 s"}},
        {{15, 123.96, {}, false, RunEnd::won, 15}, {"Rings 15 / 15", "124.0 s", "You made it! 124.0 s"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(linesOf(c.status), c.lines);
    EXPECT_EQ(nextHudMessage(ring3, -1, false, 5.0).shownAt, 4.0) << "no event keeps the message";
}

// From the smallest window to a 4K screen, portrait and letterbox too: the
// words grow with the screen's height, and the bar, the heart, the pause
// sign and every line lie inside it, none over another.
TEST(HudLayout, EveryShapeAndLineFitsTheScreenAndTheWordsGrowWithIt)
{
    const HudStatus busiest{15, 1234.5, {}, true, RunEnd::won, 15};
    EXPECT_FLOAT_EQ(hudText(busiest, 3840.0f, 2160.0f).lines[0].size / hudText(busiest, 400.0f, 400.0f).lines[0].size,
                    2160.0f / 400.0f);
    const std::vector<glm::vec2> unitQuad{{0.0f, 0.0f}, {1.0f, 1.0f}};
    const std::array<glm::vec2, heartVertexCount> heart = heartVertices();
    for (const glm::vec2 size : {glm::vec2(160, 120), glm::vec2(400, 400), glm::vec2(1280, 720),
                                 glm::vec2(3840, 2160), glm::vec2(600, 1400), glm::vec2(2000, 120),
                                 glm::vec2(160, 1000)}) {
        const HudText text = hudText(busiest, size.x, size.y);
        ASSERT_EQ(text.count, 4);
        std::vector<std::pair<std::string, glm::vec4>> elements{
            {"bar", boundsOf(powerBarModel(size.x, size.y, 1.0f), unitQuad)},
            {"heart", boundsOf(heartModel(size.x, size.y), {heart.begin(), heart.end()})},
            {"left pause bar", boundsOf(pauseBarModel(0, size.x, size.y), unitQuad)},
            {"right pause bar", boundsOf(pauseBarModel(1, size.x, size.y), unitQuad)}};
        for (int i = 0; i < text.count; ++i)
            elements.emplace_back(text.lines[i].text(), hudTextBounds(text.lines[i]));
        for (size_t i = 0; i < elements.size(); ++i) {
            const auto& [name, box] = elements[i];
            EXPECT_TRUE(box.x >= 0.0f && box.y >= 0.0f && box.z <= size.x && box.w <= size.y)
                << name << " at " << size.x << "x" << size.y;
            for (size_t j = 0; j < i; ++j) {
                const glm::vec4 other = elements[j].second;
                EXPECT_TRUE(box.z <= other.x || other.z <= box.x || box.w <= other.y || other.w <= box.y)
                    << name << " over " << elements[j].first << " at " << size.x << "x" << size.y;
            }
        }
    }
    // From 320 by 240 up the bar keeps its 200 by 20 pixels, centred 30 above the bottom.
    EXPECT_EQ(boundsOf(powerBarModel(320.0f, 240.0f, 1.0f), unitQuad), glm::vec4(60.0f, 30.0f, 260.0f, 50.0f));
}

// Every menu at the smallest window, a narrow one, a square and the usual
// one, the title naming a long course: each line lies inside the window,
// legible where there is room, its item's box around it, the boxes stacked
// one below the other, the focus on its item.
TEST(MenuLayout, EveryScreenFitsTheWindowAndItsItemsStackWithoutOverlap)
{
    for (const MenuScreen screen : {MenuScreen::title, MenuScreen::pause, MenuScreen::options, MenuScreen::result}) {
        for (const glm::vec2 size : {glm::vec2(160, 120), glm::vec2(100, 400), glm::vec2(400, 400), glm::vec2(1280, 720)}) {
            Menu menu;
            menu.screen = screen;
            menu.focus = 1;
            menu.bestTime = 1234.5;
            menu.newBest = true;
            menu.courses = {{"first_flight", std::nullopt}, {"a_course_with_a_long_name", 12.5}};
            menu.course = 1;
            const MenuLayout layout = menuLayout(menu, size.x, size.y);
            const std::string where = std::to_string(static_cast<int>(screen)) + " at " +
                                      std::to_string(static_cast<int>(size.x)) + "x" +
                                      std::to_string(static_cast<int>(size.y));
            ASSERT_EQ(layout.itemCount, menuItems(screen).count) << where;
            const int headings = layout.text.count - layout.itemCount;
            for (int i = 0; i < layout.text.count; ++i) {
                const HudTextLine& line = layout.text.lines[i];
                const glm::vec4 box = hudTextBounds(line);
                EXPECT_TRUE(box.x >= 0.0f && box.y >= 0.0f && box.z <= size.x && box.w <= size.y)
                    << line.text() << " " << where;
                EXPECT_TRUE(size.x < 400.0f || line.size >= 18.0f) << line.text() << " " << where;
                if (i < headings)
                    continue;
                const glm::vec4 item = layout.itemBoxes[i - headings];
                EXPECT_TRUE(item.x <= box.x && item.z >= box.z && item.y <= line.origin.y &&
                            item.w >= line.origin.y + line.size)
                    << line.text() << " " << where;
                const glm::vec4 above = i > headings ? layout.itemBoxes[i - headings - 1] : glm::vec4(size.y);
                EXPECT_LE(item.w, above.y) << line.text() << " " << where;
            }
            EXPECT_EQ(layout.focusBox, layout.itemBoxes[1]) << where;
        }
    }
}

// The HUD is laid out in window pixels from the bottom-left corner.
TEST(HudLayout, ProjectionMapsWindowPixelsOntoTheWholeScreen)
{
    const glm::mat4 projection = hudProjection(320.0f, 240.0f);
    EXPECT_EQ(glm::vec2(projection * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f)), glm::vec2(-1.0f));
    EXPECT_EQ(glm::vec2(projection * glm::vec4(320.0f, 240.0f, 0.0f, 1.0f)), glm::vec2(1.0f));
}
