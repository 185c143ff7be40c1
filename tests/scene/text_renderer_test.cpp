// The HUD's words in real frames of the level, at a small and a wide window:
// where they land, in what colour, and that hiding the HUD changes nothing
// else. (The game without its font, missing or cut short, is the
// end-to-end faults run's.)
#include "scene/text_renderer.h"

#include "support/game_fixture.h"

#include "app/callbacks.h"
#include "game/course.h"

#include <algorithm>
#include <cstdlib>

namespace {

class Words : public GameFixture, public testing::WithParamInterface<glm::ivec2> {
protected:
    Words()
    {
        windowWidth = GetParam().x;
        windowHeight = GetParam().y;
    }

    // Whether the pixel `at` (RGB, top row first) shows `color`.
    static bool shows(const unsigned char* at, const glm::vec4& color)
    {
        for (int c = 0; c < 3; ++c) {
            if (std::abs(at[c] - color[c] * 255.0f) > 3.0f)
                return false;
        }
        return true;
    }
};

}  // namespace

// A ring passed, then a pause: the rings, the time, "Ring 1" and "Paused".
// Every line has fill and outline pixels inside its bounds, and hiding the
// HUD with key 1 changes no pixel outside the words, the bar, the heart and
// the pause sign.
TEST_P(Words, LandWhereTheLayoutSaysAndNothingElseChangesWhenHidden)
{
    frames(5);
    app.simulation.state.fairyPosition = app.course.rings[0];
    frames(3);
    onKey(window, GLFW_KEY_P, 0, GLFW_RELEASE, 0);
    frame(clock);
    saveScreenshot("words_" + std::to_string(windowWidth) + "x" + std::to_string(windowHeight));
    const std::vector<unsigned char> shown = screenshot();
    onKey(window, GLFW_KEY_1, 0, GLFW_RELEASE, 0);
    frame(clock);
    const std::vector<unsigned char> hidden = screenshot();

    const HudText text = hudText(HudStatus{1, app.simulation.runTime, app.hudMessage, true, RunEnd::none, 15},
                                 static_cast<float>(windowWidth), static_cast<float>(windowHeight));
    ASSERT_EQ(text.count, 4);
    EXPECT_EQ(text.lines[2].text(), "Ring 1");
    // The shapes: the bar and the heart along the bottom, the pause sign in the middle.
    float shapesTop = 0.0f;
    for (const glm::vec2 corner : heartVertices())
        shapesTop = std::max(shapesTop, (heartModel(windowWidth, windowHeight) * glm::vec4(corner, 0, 1)).y);
    const glm::vec4 signLow = pauseBarModel(0, windowWidth, windowHeight) * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    const glm::vec4 signHigh = pauseBarModel(1, windowWidth, windowHeight) * glm::vec4(1.0f, 1.0f, 0.0f, 1.0f);
    std::vector<int> fill(4, 0), outline(4, 0);
    int changedOutside = 0, changedInSign = 0;
    for (int y = 0; y < windowHeight; ++y) {
        for (int x = 0; x < windowWidth; ++x) {
            const size_t at = (static_cast<size_t>(windowHeight - 1 - y) * windowWidth + x) * 3;
            bool inBand = y <= shapesTop + 1.0f ||
                          (x >= signLow.x - 1.0f && x <= signHigh.x && y >= signLow.y - 1.0f && y <= signHigh.y);
            for (int i = 0; i < 4; ++i) {
                const glm::vec4 bounds = hudTextBounds(text.lines[i]);
                if (x < bounds.x || y < bounds.y || x >= bounds.z || y >= bounds.w)
                    continue;
                inBand = true;
                fill[i] += shows(&shown[at], textFillColor);
                outline[i] += shows(&shown[at], textOutlineColor);
            }
            const bool changed = !std::equal(&shown[at], &shown[at] + 3, &hidden[at]);
            changedOutside += !inBand && changed;
            changedInSign += changed && x >= signLow.x && x < signHigh.x && y >= signLow.y && y < signHigh.y;
        }
    }
    EXPECT_EQ(changedOutside, 0);
    EXPECT_GT(changedInSign, (signHigh.x - signLow.x) * (signHigh.y - signLow.y) / 2) << "the two bars of the sign";
    for (int i = 0; i < 4; ++i) {
        EXPECT_GT(fill[i], 10) << text.lines[i].text();
        EXPECT_GT(outline[i], 10) << text.lines[i].text();
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, Words, testing::Values(glm::ivec2(400, 400), glm::ivec2(1280, 720)),
                         [](const auto& info) {
                             return std::to_string(info.param.x) + "x" + std::to_string(info.param.y);
                         });
