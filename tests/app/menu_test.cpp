// The menus of player mode driven through the frame's input record with a
// fixed step: what the keys, the pointer and the end of a run lead to, and
// what reaches the run and the settings. No window: nothing is drawn.
#include "app/course_choice.h"
#include "app/ghost_file.h"
#include "app/player_menu.h"
#include "app/version.h"
#include "framework/file_io.h"
#include "game/menu_layout.h"
#include "support/test_paths.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int width = 800, height = 600;
constexpr int lostFocus = -2;  // the window losing its focus, among the keys

struct PlayerGame {
    App app;
    double clock = 0.0;
    std::string said;

    PlayerGame()
    {
        app.playerMode = true;
        app.simulation = makeSimulation(app.settings.camera, CursorPosition{}, app.course);
        showTitle(app, std::nullopt);
    }

    // One frame of a 30th of a second with these keys released.
    SimulationStep frame(std::vector<int> keys = {}, float step = 1.0f / 30.0f, bool clicked = false,
                         CursorPosition cursor = {})
    {
        FrameInput input;
        input.clock = clock += step;
        input.timeStep = step;
        input.framebufferWidth = width;
        input.framebufferHeight = height;
        input.cursor = cursor;
        input.events.clicked = clicked;
        for (int key : keys) {
            if (key == lostFocus)
                input.events.focusLost = true;
            else
                input.events.release(key);
        }
        SimulationStep result = stepGame(app, input);
        for (const std::string& line : result.messages)
            said += line;
        return result;
    }

    // Key by key, a frame each, then a quiet frame; the last choice made.
    MenuRequest press(const std::vector<int>& keys)
    {
        MenuRequest request = MenuRequest::none;
        for (int key : keys) {
            const MenuRequest made = frame({key}).menu.request;
            request = made != MenuRequest::none ? made : request;
        }
        frame();
        return request;
    }
};

constexpr int up = GLFW_KEY_UP, down = GLFW_KEY_DOWN, left = GLFW_KEY_LEFT, right = GLFW_KEY_RIGHT;
constexpr int enter = GLFW_KEY_ENTER, escape = GLFW_KEY_ESCAPE;

bool near(float value, float expected)
{
    return std::abs(value - expected) < 1e-6f;
}

}  // namespace

// From the title: where each walk through the menus ends, what it said and
// what it asked of the game. The run stands still until "Fly".
TEST(PlayerMenus, KeysWalkTheScreensAndTheRunStartsOnlyOnFly)
{
    const struct {
        std::vector<int> keys;
        MenuScreen screen;
        const char* said;
        MenuRequest request;
    } walks[] = {
        {{enter}, MenuScreen::none, "Run started\n", MenuRequest::fly},
        {{down, down, enter}, MenuScreen::options, "Options screen\n", MenuRequest::none},
        {{down, down, enter, escape}, MenuScreen::title, "Options screen\nTitle screen\n", MenuRequest::none},
        {{escape, enter}, MenuScreen::title, "", MenuRequest::quit},
        {{up, enter}, MenuScreen::title, "", MenuRequest::quit},
        {{enter, GLFW_KEY_P}, MenuScreen::pause, "Run started\nPaused\n", MenuRequest::fly},
        {{enter, lostFocus}, MenuScreen::pause, "Run started\nPaused\n", MenuRequest::fly},
        {{enter, escape, escape}, MenuScreen::none, "Run started\nPaused\nResumed\n", MenuRequest::resume},
        {{enter, escape, down, enter}, MenuScreen::none, "Run started\nPaused\nRestarted\n", MenuRequest::restart},
        {{enter, escape, up, enter}, MenuScreen::title, "Run started\nPaused\nTitle screen\n", MenuRequest::toTitle},
        {{enter, escape, down, down, enter, escape}, MenuScreen::pause,
         "Run started\nPaused\nOptions screen\nPaused\n", MenuRequest::fly},
    };
    for (const auto& walk : walks) {
        PlayerGame game;
        for (int i = 0; i < 60; ++i)
            game.frame({GLFW_KEY_W});
        EXPECT_EQ(game.app.simulation.runTime, 0.0) << "the title keeps the run waiting";
        const MenuRequest request = game.press(walk.keys);
        EXPECT_EQ(game.app.menu.screen, walk.screen) << walk.said;
        EXPECT_EQ(game.said, walk.said);
        EXPECT_EQ(request, walk.request) << walk.said;
        const bool flown = walk.screen == MenuScreen::none || walk.screen == MenuScreen::pause;
        EXPECT_EQ(game.app.simulation.runTime > 0.0, flown) << walk.said;
    }
}

// Every option changes by the keys or a click, reaches the settings, the
// camera and the switches at once, and says which one changed.
TEST(PlayerMenus, OptionsChangeByKeysAndClicksAndReachTheGame)
{
    const std::vector<int> toOptions = {down, down, enter};
    const struct {
        std::vector<int> keys;
        MenuItem option;
        bool (*applied)(const App& app);
    } changes[] = {
        {{left}, MenuItem::masterVolume, [](const App& a) { return near(a.settings.audio.masterVolume, 0.9f); }},
        {{down, down, right}, MenuItem::ambienceVolume,
         [](const App& a) { return near(a.settings.audio.ambienceVolume, 0.7f); }},
        {{down, down, down, right}, MenuItem::mouseSensitivity,
         [](const App& a) {
             return near(a.settings.camera.mouseSensitivity, 0.0025f) &&
                    near(a.simulation.camera.mouseSensitivity, 0.0025f);
         }},
        {{down, down, down, down, enter}, MenuItem::invertY,
         [](const App& a) { return a.settings.camera.invertY && a.simulation.camera.invertY; }},
        {{up, up, up, up, left}, MenuItem::glowQuality,
         [](const App& a) { return a.settings.renderer.bloom_resolution == BloomResolution::full; }},
        {{up, up, up, up, enter, enter}, MenuItem::glowQuality,
         [](const App& a) { return a.settings.renderer.bloom_resolution == BloomResolution::quarter; }},
        {{up, up, up, enter}, MenuItem::fullscreen, [](const App& a) { return a.switches.isFullscreen; }},
        {{up, up, enter}, MenuItem::vsync, [](const App& a) { return a.settings.window.vsync; }},
    };
    for (const auto& change : changes) {
        PlayerGame game;
        game.press(toOptions);
        MenuChoice last;
        for (int key : change.keys)
            last = game.frame({key}).menu;
        EXPECT_EQ(last.request, MenuRequest::optionChanged);
        EXPECT_EQ(last.option, change.option);
        EXPECT_TRUE(change.applied(game.app)) << static_cast<int>(change.option);
    }

    // A click on the effects volume, where the layout shows it, steps it up
    // and round from full to silent; hovering alone only moves the focus.
    PlayerGame game;
    game.press(toOptions);
    const glm::vec4 box = menuLayout(game.app.menu, width, height).itemBoxes[1];
    const CursorPosition onEffects{0.5 * (box.x + box.z), height - 0.5 * (box.y + box.w)};
    for (int i = 0; i < 3; ++i)  // a freed cursor's first moves are its jump, not a hover
        game.frame({}, 1.0f / 30.0f, false, {onEffects.x + i, onEffects.y});
    EXPECT_EQ(game.app.menu.focus, 1);
    EXPECT_EQ(game.app.settings.audio.effectsVolume, 1.0f);
    EXPECT_EQ(game.frame({}, 1.0f / 30.0f, true, onEffects).menu.option, MenuItem::effectsVolume);
    EXPECT_EQ(game.app.settings.audio.effectsVolume, 0.0f);
}

// Running out of power ends on the result screen; R starts again. A won
// run's time becomes the best only when it beats it, and the screen says so.
TEST(PlayerMenus, ARunEndsOnTheResultScreenWithTheBestTime)
{
    PlayerGame game;
    game.press({enter});
    for (int i = 0; i < 200 && game.app.menu.screen == MenuScreen::none; ++i)
        game.frame({}, 0.1f);
    EXPECT_EQ(game.app.menu.screen, MenuScreen::result);
    EXPECT_FALSE(game.app.menu.lastRun.won);
    EXPECT_NE(game.said.find("Game Over. \nResult screen\n"), std::string::npos) << game.said;
    game.press({GLFW_KEY_R});
    EXPECT_EQ(game.app.menu.screen, MenuScreen::none);
    EXPECT_EQ(game.app.runEnd, RunEnd::none);

    const struct {
        std::optional<double> best;
        RunSummary run;
        double bestAfter;
        const char* line;
    } ends[] = {
        {std::nullopt, {true, 30.0, 15}, 30.0, "Best time 30.0 s  New best!"},
        {40.0, {true, 30.0, 15}, 30.0, "Best time 30.0 s  New best!"},
        {20.0, {true, 30.0, 15}, 20.0, "Best time 20.0 s"},
        {20.0, {false, 10.0, 3}, 20.0, "Best time 20.0 s"},
    };
    for (const auto& end : ends) {
        Menu menu;
        menu.bestTime = end.best;
        showResult(menu, end.run);
        EXPECT_EQ(menu.bestTime, end.bestAfter);
        const HudText text = menuLayout(menu, width, height).text;
        EXPECT_EQ(text.lines[3].text(), end.line);
    }
}

// The title lists the courses, each with its best time; the one picked is
// the next run's, with its results' key and its ghost. A broken one says
// why and the course flown stays picked.
TEST(PlayerMenus, ACoursePickedOnTheTitleIsTheNextRunsWithItsBestTimeAndGhost)
{
    const std::string data = makeScratchDir("course_list"), kept = data + "/glimmerdeep";
    const std::string spiralFile = sourceDir() + "/assets/courses/spiral.ini";
    const CourseId spiral{"spiral", courseHash(readWholeFile(spiralFile).value_or(""))};
    std::ostringstream console;
    ResultsFile results(kept);
    ResultsByCourse best;
    best.of(spiral) = {42.0, 50.0f, "2026-01-02", 1, 0};
    Replay ghost;
    ghost.header = {gameVersion, {}, 1, {}, spiral, false};
    ghost.frames.assign(3, ReplayFrame{1.0f / 60.0f, {}, {}, width, height, {}});
    ASSERT_TRUE(results.save(best, console) && saveGhost(ghostPath(kept, spiral), ghost, console)) << console.str();
    writeFile(data + "/broken.ini", "[well]\ndepth = deep\n");
    setenv("XDG_DATA_HOME", data.c_str(), 1);

    PlayerGame game;
    RunOptions run;
    run.ghostTake.emplace(ReplayHeader{});
    offerCourses(game.app, {{"spiral", spiralFile}, {"broken", data + "/broken.ini"}}, "", &results);
    game.press({down});
    const struct {
        int key;
        bool changed;
        const char* row;
        const char* best;
        bool ghost;
    } picks[] = {
        {right, true, "Course spiral", "Best time 42.0 s", true},
        {right, false, "Course spiral", "Best time 42.0 s", true},  // round to the broken one
        {left, true, "Course classic", "No best time yet", false},
        {enter, true, "Course spiral", "Best time 42.0 s", true},
    };
    for (const auto& pick : picks) {
        const bool asked = game.frame({pick.key}).menu.request == MenuRequest::courseChanged;
        EXPECT_EQ(asked && takeSelectedCourse(game.app, run, console), pick.changed) << pick.row;
        const HudText text = menuLayout(game.app.menu, width, height).text;
        EXPECT_EQ(text.lines[3].text(), pick.row);
        EXPECT_EQ(text.lines[1].text(), pick.best);
        EXPECT_EQ(game.app.ghost.has_value(), pick.ghost) << pick.row;
        const Course& flown = game.app.simulation.course;
        EXPECT_EQ(std::string("Course ") + flown.name, pick.row);
        EXPECT_EQ(run.course, (CourseId{flown.name, flown.fileHash})) << pick.row;
        EXPECT_EQ(run.ghostTake->header().course, run.course) << pick.row;
    }
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(console.str().find("Course: spiral\nERROR: '"), 0u) << console.str();
}
