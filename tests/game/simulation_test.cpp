// Whole frames of the rules: the order of drain, camera, fairy, rings and
// finish, the console lines, the two camera modes, the time step, the
// frame's allocations, and whole runs flown by the scripted pilot.
#include "allocation_counter.h"
#include "frames.h"
#include "game/pilot.h"

#include "game/course.h"
#include "game/flight.h"
#include "game/mouse_look.h"
#include "game/power.h"
#include "game/rings.h"
#include "game/simulation.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Messages = std::vector<std::string>;

TEST(Simulation, StartsFromTheSettingsBehindTheFairyLookingJustAboveIt)
{
    CameraSettings settings;
    settings.fov = 45.0f;
    settings.yaw = 1.25f;
    settings.pitch = -0.5f;
    const Simulation turned = makeSimulation(settings, {12.0, 34.0}, Course{});
    EXPECT_FLOAT_EQ(turned.fovRadians, glm::radians(45.0f));
    EXPECT_EQ(turned.state.cameraYaw, 1.25f);
    EXPECT_EQ(turned.state.cameraPitch, -0.5f);
    EXPECT_EQ(turned.lastCursor.x, 12.0);

    Simulation simulation = makeSimulation(CameraSettings{}, CursorPosition{}, Course{});
    const SimulationStep step = play(simulation, 0.0f);
    EXPECT_LT(glm::distance(step.view.eye, glm::vec3(0.0f, 2.0f, -3.0f)), 1e-5f);
    const glm::vec4 target = step.view.viewProjection * glm::vec4(0.0f, 1.0f, 0.0f, 1.0f);
    EXPECT_NEAR(target.x / target.w, 0.0f, 1e-5f);
    EXPECT_NEAR(target.y / target.w, 0.0f, 1e-5f);
    EXPECT_TRUE(step.messages.empty());
}

TEST(Simulation, FiveSecondsWithoutInputLoseWithBothLinesInOneFrame)
{
    Simulation simulation = makeSimulation(CameraSettings{}, CursorPosition{}, Course{});
    for (int frame = 1; frame < 320; ++frame) {
        const SimulationStep step = play(simulation, 1.0f / 64.0f);
        ASSERT_TRUE(step.messages.empty() && step.end == RunEnd::none) << "frame " << frame;
    }
    const SimulationStep last = play(simulation, 1.0f / 64.0f);
    EXPECT_EQ(last.messages, (Messages{" Fairy power depleted! Falling... \n",
                                       " You fell back to the bottom. Game Over. \n"}));
    EXPECT_EQ(last.end, RunEnd::lost);
}

TEST(Simulation, TheFrameThatEmptiesThePowerFallsIgnoringKeysWhileTheMouseStillTurns)
{
    Simulation simulation = makeSimulation(CameraSettings{}, CursorPosition{}, Course{});
    simulation.state.fairyPosition = {1.0f, 10.0f, 0.0f};  // beside ring 10's path
    simulation.state.fairyPower = 1.0f;
    const SimulationStep step = play(simulation, 0.25f, holding(true), {100.0, -50.0});
    EXPECT_EQ(step.messages, (Messages{powerDepletedMessage}));
    EXPECT_EQ(simulation.state.fairyPosition, glm::vec3(1.0f, 8.75f, 0.0f));
    EXPECT_FLOAT_EQ(simulation.state.cameraYaw, -0.2f);
    EXPECT_FLOAT_EQ(simulation.state.cameraPitch, 0.1f);

    // Falling through a ring counts it and refills, after the frame's drain; the fall goes on.
    simulation.state.fairyPosition = Course{}.rings[3] + glm::vec3(0.0f, 0.5f, 0.0f);
    const SimulationStep refill = play(simulation, 0.1f);
    EXPECT_EQ(refill.messages, (Messages{"Passed ring 4 (Total: 1)\n"}));
    EXPECT_EQ(simulation.state.fairyPower, 30.0f);
    EXPECT_TRUE(simulation.state.falling);
}

TEST(Simulation, TheFairysPartsFollowItWithTheWingsBehindAndAbove)
{
    CameraSettings facingX;
    facingX.yaw = 1.5707964f;
    Simulation simulation = makeSimulation(facingX, CursorPosition{}, Course{});
    const SimulationStep step = play(simulation, 0.1f, holding(true));
    ASSERT_TRUE(step.fairy);
    const glm::vec3 fairy = simulation.state.fairyPosition;
    EXPECT_EQ(step.fairy->bodyPosition, fairy);
    EXPECT_EQ(step.fairy->lightPosition, fairy);
    EXPECT_LT(glm::distance(step.fairy->wingPosition, fairy + glm::vec3(-0.1f, 0.05f, 0.0f)), 1e-5f);
    EXPECT_NEAR(step.fairy->wingRotationDegrees.y, 90.0f, 1e-3f);
}

// The free camera stops the game: no drain, no flight; rings are still
// tested against the frozen fairy, and the cursor moved meanwhile never
// turns the follow camera.
TEST(Simulation, FreeModeFreezesTheFairyAndItsPowerAndTurnsOnlyItsOwnCamera)
{
    Simulation simulation = makeSimulation(CameraSettings{}, CursorPosition{}, Course{});
    simulation.state.fairyPosition = Course{}.rings[4];
    simulation.state.ringPassed[4] = true;
    simulation.freeCameraMode = true;
    const SimulationStep first = play(simulation, 2.0f, holding(true), {500.0, 500.0});
    EXPECT_FALSE(first.fairy);
    EXPECT_EQ(simulation.freeCamera.yaw, 0.0f) << "its first frame must not jump";
    EXPECT_GT(simulation.freeCamera.position.z, 9.0f);
    play(simulation, 2.0f, {}, {600.0, 500.0});
    EXPECT_FLOAT_EQ(simulation.freeCamera.yaw, -0.2f);
    EXPECT_EQ(simulation.state.fairyPower, 100.0f);
    EXPECT_EQ(simulation.state.fairyPosition, Course{}.rings[4]);

    simulation.state.ringPassed[4] = false;
    EXPECT_EQ(play(simulation, 0.1f, {}, {600.0, 500.0}).ringPassed, 4);
    simulation.freeCameraMode = false;
    play(simulation, 0.1f, {}, {600.0, 500.0});
    EXPECT_EQ(simulation.state.cameraYaw, 0.0f);
}

TEST(Simulation, TheTimeStepIsTheClockDifferenceCappedAtAQuarterSecond)
{
    EXPECT_FLOAT_EQ(frameTimeStep(10.1, 10.0), 0.1f);
    EXPECT_EQ(frameTimeStep(15.0, 10.0), 0.25f);
    EXPECT_EQ(frameTimeStep(9.0, 10.0), 0.0f);
    // Days into a run a frame still measures to the microsecond.
    EXPECT_NEAR(frameTimeStep(259200.0 + 1.0 / 60.0, 259200.0), 1.0f / 60.0f, 1e-6f);
}

TEST(Simulation, FramesWithoutEventsAllocateNothing)
{
    Simulation simulation = makeSimulation(CameraSettings{}, CursorPosition{}, Course{});
    play(simulation, 0.01f);
    AllocationCounter counter;
    for (int frame = 0; frame < 40; ++frame)
        play(simulation, 0.01f, holding(true), {frame * 3.0, frame * 1.0});
    EXPECT_EQ(counter.count(), 0);
}

// The same rings and the win whether the machine draws 5 frames a second or
// 144, on a path 0.2 beside the rings' centres, where a slow frame can jump
// over the ring's sphere. Each frame W is held and the cursor is where the
// pilot wants it, for at most a minute.
TEST(Pilot, FliesThroughItsRingsToTheFlagAndWinsAtAnyFrameRate)
{
    for (float framesPerSecond : {5.0f, 10.0f, 30.0f, 60.0f, 144.0f}) {
        Simulation simulation = makeSimulation(CameraSettings{}, CursorPosition{}, Course{});
        Pilot pilot(winningRoute, 0.2f);
        Messages messages;
        for (int frame = 0; frame < 60.0f * framesPerSecond; ++frame) {
            const SimulationStep step = play(simulation, 1.0f / framesPerSecond, holding(true), pilot.aim(simulation));
            messages.insert(messages.end(), step.messages.begin(), step.messages.end());
            if (step.end != RunEnd::none)
                break;
        }
        EXPECT_EQ(messages, (Messages{"Passed ring 10 (Total: 1)\n", "Passed ring 11 (Total: 2)\n",
                                      "Passed ring 12 (Total: 3)\n", "Passed ring 14 (Total: 4)\n",
                                      "Passed ring 15 (Total: 5)\n", winMessage}))
            << framesPerSecond << " frames per second";
        EXPECT_GT(simulation.state.fairyPower, 0.0f);
    }
}
