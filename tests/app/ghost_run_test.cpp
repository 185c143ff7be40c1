// The ghost follows the best run's take by the live run's clock: after as
// much play it is where that run's fairy was, through the title screen, a
// restart, the pause menu and camera switches, and past the end it stays
// where the run ended. A run whose turning changed on the way is not kept.
#include "app/frame.h"
#include "app/ghost_file.h"
#include "app/ghost_take.h"
#include "app/player_menu.h"
#include "support/test_paths.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

struct Seen {
    double runTime;
    glm::vec3 position;
};

// Frame i of a player's session: flying and turning, with these keys released.
FrameInput sessionFrame(int i, std::initializer_list<std::pair<int, int>> keys, std::initializer_list<int> focusLost)
{
    FrameInput input;
    input.timeStep = i % 7 == 0 ? 0.05f : 1.0f / 60.0f;
    input.keys.forward = i % 9 < 6;
    input.keys.left = i % 4 == 0;
    input.cursor = {i * 3.0, -i * 2.0};  // turning and looking up
    input.framebufferWidth = 800;
    input.framebufferHeight = 600;
    for (const auto& [frame, key] : keys)
        if (i == frame)
            input.events.release(key);
    for (int frame : focusLost)
        input.events.focusLost = input.events.focusLost || i == frame;
    return input;
}

void play(App& live, GhostTake& take, const FrameInput& input)
{
    const RunBeforeFrame before{live.switches.paused, live.runEnd != RunEnd::none, live.simulation.runTime,
                                live.simulation.lastCursor};
    const SimulationStep step = stepGame(live, input);
    take.add({step.timeStep, input.keys, input.cursor, 800, 600, input.events}, before, live.simulation,
             live.switches.paused);
}

}  // namespace

TEST(GhostRun, IsWhereTheRunItFollowsWasAfterAsMuchPlayAndStaysAtItsEnd)
{
    App live;
    live.playerMode = true;
    live.simulation = makeSimulation(live.settings.camera, {0.0, 0.0}, live.course);
    showTitle(live, std::nullopt);
    GhostTake take(ReplayHeader{"test", live.settings.camera, 1, {0.0, 0.0}, CourseId{"classic", 0}, true});
    std::vector<Seen> seen;  // after each frame since the restart
    for (int i = 0; i < 80; ++i) {
        // Fly, a restart, the free camera, the pause menu (P, Escape, the focus) left by Resume.
        play(live, take,
             sessionFrame(i,
                          {{2, GLFW_KEY_ENTER}, {12, GLFW_KEY_R}, {20, GLFW_KEY_C}, {26, GLFW_KEY_P},
                           {30, GLFW_KEY_ENTER}, {44, GLFW_KEY_ENTER}, {50, GLFW_KEY_C}, {60, GLFW_KEY_ESCAPE}},
                          {40}));
        if (i >= 12)
            seen.push_back({live.simulation.runTime, live.simulation.state.fairyPosition});
    }
    ASSERT_TRUE(live.switches.paused);
    ASSERT_TRUE(take.replay());
    EXPECT_FALSE(take.replay()->header.playerMode) << "the take plays without menus";

    GhostRun ghost(*take.replay(), live.course);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        if (i > 0 && seen[i].runTime > seen[i - 1].runTime) {
            ghost.follow(seen[i].runTime - 1e-6);  // a live frame rate the ghost's frames do not match
            EXPECT_EQ(ghost.position(), seen[i - 1].position) << "never ahead, at " << seen[i].runTime << " s";
        }
        ghost.follow(seen[i].runTime);
        EXPECT_EQ(ghost.position(), seen[i].position) << "after " << seen[i].runTime << " s";
    }
    EXPECT_EQ(ghost.bestTime(), seen.back().runTime);
    ghost.follow(1e6);
    EXPECT_EQ(ghost.position(), seen.back().position) << "past its end it stays";
    ghost.follow(0.0);
    EXPECT_EQ(ghost.position(), makeSimulation(live.settings.camera, {}, live.course).state.fairyPosition)
        << "a restart";

    // From the pause menu to the options: a quicker mouse spoils the take.
    for (int i = 80; i < 90; ++i)
        play(live, take,
             sessionFrame(i,
                          {{81, GLFW_KEY_DOWN}, {82, GLFW_KEY_DOWN}, {83, GLFW_KEY_ENTER}, {84, GLFW_KEY_DOWN},
                           {85, GLFW_KEY_DOWN}, {86, GLFW_KEY_DOWN}, {87, GLFW_KEY_RIGHT}, {88, GLFW_KEY_BACKSPACE},
                           {89, GLFW_KEY_BACKSPACE}},
                          {}));
    ASSERT_NE(live.simulation.camera.mouseSensitivity, Settings{}.camera.mouseSensitivity);
    EXPECT_FALSE(live.switches.paused);
    EXPECT_FALSE(take.replay());
}

// The best run kept in the data folder reads back for its course only; a
// broken file, or one of a changed course file, gets one line and no ghost;
// a folder that cannot be made gets one line, and the old ghost stays.
TEST(GhostFile, KeepsTheBestRunPerCourseAndABrokenOrUnwritableOneIsOneLine)
{
    const std::string data = makeScratchDir("ghost_file");
    const CourseId classic{"classic", 0xabcdef}, changed{"classic", 0x123};
    const std::string path = ghostPath(data, classic);
    EXPECT_EQ(path, data + "/ghosts/classic-0000000000abcdef.replay");
    Replay best;
    best.header = {"test", CameraSettings{}, 1, {2.5, -1.0}, classic};
    best.frames.assign(3, ReplayFrame{0.125f, {}, {3.0, 4.0}, 800, 600, {}});
    std::ostringstream console;
    EXPECT_FALSE(loadGhost(path, classic, console)) << "none yet";
    ASSERT_TRUE(saveGhost(path, best, console));
    const std::optional<Replay> loaded = loadGhost(path, classic, console);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(formatReplay(*loaded), formatReplay(best));
    EXPECT_EQ(console.str(), "");

    writeFile(data + "/file", "not a folder");
    EXPECT_FALSE(saveGhost(data + "/file/ghosts/classic.replay", best, console));
    EXPECT_FALSE(loadGhost(path, changed, console));
    writeFile(path, "glimmerdeep-replay 2\ngame");
    EXPECT_FALSE(loadGhost(path, classic, console));
    EXPECT_EQ(console.str(),
              "The best run cannot be kept as a ghost: '" + data + "/file/ghosts/classic.replay' could not be written.\n"
              "The ghost in '" + path + "' cannot be played: it was recorded on course 'classic' (0000000000abcdef), "
              "not on course 'classic' (0000000000000123). The run plays without it.\n"
              "The ghost in '" + path + "' cannot be played: it ends inside its header. The run plays without it.\n");
}
