// The ghost follows the best run's replay by the live run's clock: after as
// much play it is where that run's fairy was, through its pauses, camera
// switches and restart, and past the end it stays where the run ended.
#include "app/frame.h"
#include "app/ghost_file.h"
#include "app/ghost_take.h"
#include "support/test_paths.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

TEST(GhostRun, IsWhereTheRunItFollowsWasAfterAsMuchPlayAndStaysAtItsEnd)
{
    App live;
    live.simulation = makeSimulation(live.settings.camera, {0.0, 0.0});
    GhostTake take(ReplayHeader{"test", live.settings.camera, 1, {0.0, 0.0}, CourseId{"classic", 0}});
    struct Seen {
        double runTime;
        glm::vec3 position;
    };
    std::vector<Seen> seen;  // after each frame since the restart
    for (int i = 0; i < 80; ++i) {
        FrameInput input;
        input.timeStep = i % 7 == 0 ? 0.05f : 1.0f / 60.0f;
        input.keys.forward = i % 9 < 6;
        input.keys.left = i % 4 == 0;
        input.cursor = {i * 3.0, -i * 2.0};  // turning and looking up
        input.framebufferWidth = 800;
        input.framebufferHeight = 600;
        // Restarted paused and in the free camera, which the new run keeps.
        for (const auto& [frame, key] : {std::pair{26, GLFW_KEY_C}, {30, GLFW_KEY_R}, {35, GLFW_KEY_P},
                                         {38, GLFW_KEY_P}, {45, GLFW_KEY_C}, {60, GLFW_KEY_P}})
            if (i == frame)
                input.events.release(key);
        input.events.focusLost = i == 28 || i == 52;
        input.events.clicked = i == 33 || i == 56;
        const RunBeforeFrame before{live.switches.paused, live.simulation.freeCameraMode,
                                    live.simulation.lastCursor};
        const SimulationStep step = stepGame(live, input);
        take.add({step.timeStep, input.keys, input.cursor, 800, 600, input.events}, before);
        if (i >= 30)
            seen.push_back({live.simulation.runTime, live.simulation.state.fairyPosition});
    }
    ASSERT_TRUE(live.switches.paused);

    GhostRun ghost(take.replay());
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
    EXPECT_EQ(ghost.position(), makeSimulation(live.settings.camera, {}).state.fairyPosition) << "a restart";
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
