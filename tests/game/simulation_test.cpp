// Whole frames: the order of drain, camera, fairy, rings and finish, the
// console lines, the two camera modes and the frame's allocations.
#include "support/allocation_counter.h"
#include "frames.h"

#include "game/course.h"
#include "game/flight.h"
#include "game/mouse_look.h"
#include "game/power.h"
#include "game/rings.h"
#include "game/simulation.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using Messages = std::vector<std::string>;

// The start cursor of every simulation below; frames without a cursor
// argument leave it there.
Simulation startedSimulation(CameraSettings settings = {})
{
    return makeSimulation(settings, CursorPosition{});
}

void expectNear(glm::vec3 actual, glm::vec3 expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

}  // namespace

TEST(Simulation, StartsFromTheCameraSettings)
{
    CameraSettings settings;
    settings.fov = 45.0f;
    settings.yaw = 1.25f;
    settings.pitch = -0.5f;
    const Simulation simulation = makeSimulation(settings, {12.0, 34.0});
    EXPECT_FLOAT_EQ(simulation.fovRadians, 45.0f * 0.017453292f);
    EXPECT_EQ(simulation.state.cameraYaw, 1.25f);
    EXPECT_EQ(simulation.state.cameraPitch, -0.5f);
    EXPECT_EQ(simulation.state.fairyPosition, glm::vec3(0.0f, 0.5f, 0.0f));
    EXPECT_EQ(simulation.state.fairyPower, 100.0f);
    EXPECT_FALSE(simulation.state.falling);
    EXPECT_EQ(simulation.state.totalPassed, 0);
    EXPECT_EQ(simulation.state.ringPassed, std::vector<bool>(15, false));
    EXPECT_EQ(simulation.freeCamera.position, glm::vec3(0.0f, 10.0f, 0.0f));
    EXPECT_EQ(simulation.lastCursor.x, 12.0);
    EXPECT_EQ(simulation.lastCursor.y, 34.0);
}

TEST(Simulation, FirstViewIsBehindTheFairyLookingJustAboveIt)
{
    Simulation simulation = startedSimulation();
    const SimulationStep step = stepSimulation(simulation, followFrame(0.0f));
    expectNear(step.view.eye, {0.0f, 2.0f, -3.0f});
    const glm::mat4 expectedView =
        glm::lookAtRH(glm::vec3(0.0f, 2.0f, -3.0f), glm::vec3(0.0f, 1.0f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 expectedProjection =
        glm::perspectiveRH_NO(60.0f * 0.017453292f, 800.0f / 600.0f, 0.1f, 100.0f);
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            EXPECT_NEAR(step.view.view[column][row], expectedView[column][row], 1e-5f);
            EXPECT_FLOAT_EQ(step.view.projection[column][row], expectedProjection[column][row]);
        }
    }
    const glm::vec4 clipOfTarget = step.view.viewProjection * glm::vec4(0.0f, 1.0f, 0.0f, 1.0f);
    EXPECT_NEAR(clipOfTarget.x, 0.0f, 1e-5f);
    EXPECT_NEAR(clipOfTarget.y, 0.0f, 1e-5f);
    EXPECT_TRUE(step.messages.empty());
    EXPECT_FALSE(step.closeRequested);
}

TEST(Simulation, FiveSecondDrainEndsTheGameWithBothMessagesInOneFrame)
{
    Simulation simulation = startedSimulation();
    const float deltaTime = 1.0f / 64.0f;
    for (int frame = 1; frame < 320; ++frame) {
        const SimulationStep step = stepSimulation(simulation, followFrame(deltaTime));
        ASSERT_TRUE(step.messages.empty()) << "frame " << frame;
        ASSERT_FALSE(step.closeRequested);
    }
    EXPECT_EQ(simulation.state.fairyPosition.y, floorHeight);
    const SimulationStep last = stepSimulation(simulation, followFrame(deltaTime));
    EXPECT_EQ(last.messages, (Messages{" Fairy power depleted! Falling... \n",
                                       " You fell back to the bottom. Game Over. \n"}));
    EXPECT_TRUE(last.closeRequested);
    EXPECT_EQ(simulation.state.fairyPower, 0.0f);
    EXPECT_EQ(simulation.state.fairyPosition.y, floorHeight);
}

TEST(Simulation, HugeTimeStepEmptiesThePowerAndFallsIgnoringKeys)
{
    CameraSettings lookingUp;
    lookingUp.pitch = 1.0f;
    Simulation simulation = startedSimulation(lookingUp);
    simulation.state.fairyPosition = {1.0f, 12.0f, -1.0f};
    const SimulationStep step = stepSimulation(simulation, followFrame(1000.0f, holding(true)));
    EXPECT_EQ(step.messages, (Messages{powerDepletedMessage, gameOverMessage}));
    EXPECT_TRUE(step.closeRequested);
    EXPECT_EQ(simulation.state.fairyPower, 0.0f);
    EXPECT_EQ(simulation.state.fairyPosition, glm::vec3(1.0f, floorHeight, -1.0f));
}

TEST(Simulation, FrameThatEmptiesThePowerAlreadyFalls)
{
    Simulation simulation = startedSimulation();
    simulation.state.fairyPosition = {1.0f, 10.0f, 0.0f};  // beside ring 10's path
    simulation.state.fairyPower = 1.0f;
    const SimulationStep step = stepSimulation(simulation, followFrame(0.25f, holding(true)));
    EXPECT_EQ(step.messages, (Messages{powerDepletedMessage}));
    EXPECT_FALSE(step.closeRequested);
    EXPECT_EQ(simulation.state.fairyPosition, glm::vec3(1.0f, 8.75f, 0.0f));
}

TEST(Simulation, MouseStillTurnsTheCameraWhileFalling)
{
    Simulation simulation = startedSimulation();
    simulation.state.fairyPosition = {0.0f, 10.0f, 0.0f};
    simulation.state.falling = true;
    simulation.state.fairyPower = 0.0f;
    stepSimulation(simulation, followFrame(0.1f, {}, {100.0, -50.0}));
    EXPECT_FLOAT_EQ(simulation.state.cameraYaw, -0.2f);
    EXPECT_FLOAT_EQ(simulation.state.cameraPitch, 0.1f);
}

TEST(Simulation, RingPassedWhileFallingCountsAndTheFallGoesOn)
{
    Simulation simulation = startedSimulation();
    const float deltaTime = 1.0f / 64.0f;
    // One frame of falling (5/64 units) brings the fairy onto ring 1's centre.
    simulation.state.fairyPosition = ringPositions[0] + glm::vec3(0.0f, 5.0f / 64.0f, 0.0f);
    simulation.state.falling = true;
    simulation.state.fairyPower = 0.0f;
    const SimulationStep passing = stepSimulation(simulation, followFrame(deltaTime));
    EXPECT_EQ(passing.ringPassed, 0);
    EXPECT_EQ(passing.messages, (Messages{"Passed ring 1 (Total: 1)\n"}));
    EXPECT_EQ(simulation.state.fairyPower, 30.0f);
    EXPECT_TRUE(simulation.state.falling);

    const SimulationStep next = stepSimulation(simulation, followFrame(deltaTime));
    EXPECT_EQ(next.ringPassed, -1);
    EXPECT_LT(simulation.state.fairyPosition.y, ringPositions[0].y);
}

TEST(Simulation, RefillComesAfterThisFramesDrain)
{
    // Drained first, 75 - 2 = 73, then refilled to the cap; the other way
    // round the cap would come first and leave 98.
    Simulation simulation = startedSimulation();
    simulation.state.fairyPosition = ringPositions[9];
    simulation.state.fairyPower = 75.0f;
    const SimulationStep step = stepSimulation(simulation, followFrame(0.1f));
    EXPECT_EQ(step.ringPassed, 9);
    EXPECT_EQ(simulation.state.fairyPower, 100.0f);
}

TEST(Simulation, FairyPartsFollowTheFairyWithWingsBehindAndAbove)
{
    CameraSettings settings;
    settings.yaw = 1.5707963f;  // looking along +x
    settings.pitch = 0.6f;
    Simulation simulation = startedSimulation(settings);
    simulation.state.fairyPosition = {1.0f, 5.0f, 2.0f};
    const SimulationStep step = stepSimulation(simulation, followFrame(0.0f));
    ASSERT_TRUE(step.fairy.has_value());
    EXPECT_EQ(step.fairy->bodyPosition, glm::vec3(1.0f, 5.0f, 2.0f));
    EXPECT_EQ(step.fairy->lightPosition, glm::vec3(1.0f, 5.0f, 2.0f));
    expectNear(step.fairy->wingPosition, {0.9f, 5.05f, 2.0f});
    expectNear(step.fairy->wingRotationDegrees, {0.0f, 90.0f, 0.0f}, 1e-4f);
}

TEST(Simulation, FreeModeFreezesPowerFairyAndItsParts)
{
    Simulation simulation = startedSimulation();
    const GameState before = simulation.state;
    HeldKeys keys = holding(true);
    keys.up = true;
    for (int frame = 0; frame < 600; ++frame) {
        const SimulationStep step = stepSimulation(simulation, freeFrame(1.0f / 60.0f, keys));
        ASSERT_FALSE(step.fairy.has_value());
        ASSERT_TRUE(step.messages.empty());
        ASSERT_FALSE(step.closeRequested);
    }
    EXPECT_EQ(simulation.state.fairyPower, before.fairyPower);
    EXPECT_EQ(simulation.state.fairyPosition, before.fairyPosition);
    EXPECT_EQ(simulation.state.cameraYaw, before.cameraYaw);
    EXPECT_EQ(simulation.state.cameraPitch, before.cameraPitch);
    expectNear(simulation.freeCamera.position,
               glm::vec3(0.0f, 10.0f, 0.0f) + glm::vec3(0.0f, 1.0f, 1.0f) * (50.0f / std::sqrt(2.0f)), 1e-3f);
}

TEST(Simulation, FreeModeStillTestsRingsAgainstTheFrozenFairy)
{
    Simulation simulation = startedSimulation();
    simulation.state.fairyPosition = finishPoint;
    const SimulationStep step = stepSimulation(simulation, freeFrame(0.1f));
    EXPECT_EQ(step.messages, (Messages{winMessage}));
    EXPECT_TRUE(step.closeRequested);
}

TEST(Simulation, FreeCameraFirstFrameDoesNotTurn)
{
    Simulation simulation = startedSimulation();
    const SimulationStep first = stepSimulation(simulation, freeFrame(0.0f, {}, {500.0, -300.0}));
    EXPECT_EQ(simulation.freeCamera.yaw, 0.0f);
    EXPECT_EQ(simulation.freeCamera.pitch, 0.0f);
    EXPECT_EQ(first.view.eye, glm::vec3(0.0f, 10.0f, 0.0f));

    stepSimulation(simulation, freeFrame(0.0f, {}, {510.0, -300.0}));
    EXPECT_FLOAT_EQ(simulation.freeCamera.yaw, -0.02f);

    // Switching the mode on again sets firstMouse; the jump is ignored again.
    simulation.freeCamera.firstMouse = true;
    stepSimulation(simulation, freeFrame(0.0f, {}, {-4000.0, 900.0}));
    EXPECT_FLOAT_EQ(simulation.freeCamera.yaw, -0.02f);
}

TEST(Simulation, CursorMotionDuringFreeModeNeverReachesTheFollowCamera)
{
    Simulation simulation = startedSimulation();
    stepSimulation(simulation, freeFrame(0.0f, {}, {0.0, 0.0}));
    stepSimulation(simulation, freeFrame(0.0f, {}, {300.0, 200.0}));
    stepSimulation(simulation, followFrame(0.0f, {}, {300.0, 200.0}));
    EXPECT_EQ(simulation.state.cameraYaw, 0.0f);
    EXPECT_EQ(simulation.state.cameraPitch, 0.0f);
    stepSimulation(simulation, followFrame(0.0f, {}, {310.0, 200.0}));
    EXPECT_FLOAT_EQ(simulation.state.cameraYaw, -0.02f);
}

TEST(Simulation, FramebufferWithoutAreaGivesAFiniteProjection)
{
    Simulation simulation = startedSimulation();
    SimulationInput input = followFrame(0.01f);
    for (const glm::ivec2 size : {glm::ivec2(0, 0), glm::ivec2(640, 0), glm::ivec2(0, 480)}) {
        input.framebufferWidth = size.x;
        input.framebufferHeight = size.y;
        const SimulationStep step = stepSimulation(simulation, input);
        for (int column = 0; column < 4; ++column)
            for (int row = 0; row < 4; ++row)
                ASSERT_TRUE(std::isfinite(step.view.viewProjection[column][row]));
        EXPECT_FLOAT_EQ(step.view.projection[0][0], step.view.projection[1][1]);
    }
}

TEST(Simulation, FramesWithoutEventsDoNotAllocate)
{
    Simulation simulation = startedSimulation();
    std::vector<SimulationInput> frames;
    for (int frame = 0; frame < 20; ++frame)
        frames.push_back(followFrame(0.01f, holding(true), {frame * 3.0, frame * -2.0}));
    for (int frame = 0; frame < 20; ++frame)
        frames.push_back(freeFrame(0.01f, holding(false, true, true), {frame * 5.0, 7.0}));

    int allocations = 0;
    {
        const AllocationCounter counter;
        for (const SimulationInput& input : frames)
            stepSimulation(simulation, input);
        allocations = counter.count();
    }
    EXPECT_EQ(allocations, 0);
}

TEST(Simulation, LookingAtRingOneFromTheStartAndHoldingForwardPassesIt)
{
    const glm::vec3 toRing = ringPositions[0] - glm::vec3(0.0f, 0.5f, 0.0f);
    const float yaw = std::atan2(toRing.x, toRing.z);
    const float pitch = std::atan2(toRing.y, glm::length(glm::vec2(toRing.x, toRing.z)));
    // The values handed to the end-to-end run's camera settings file.
    EXPECT_NEAR(yaw, -1.5707963f, 1e-6f);
    EXPECT_NEAR(pitch, 0.1651487f, 1e-6f);

    CameraSettings settings;
    settings.yaw = -1.5707963f;
    settings.pitch = 0.1651487f;
    Simulation simulation = startedSimulation(settings);
    EXPECT_NEAR(glm::dot(frontFromAngles({settings.yaw, settings.pitch}), glm::normalize(toRing)), 1.0f, 1e-6f);

    Messages messages;
    for (int frame = 0; frame < 90 && messages.empty(); ++frame)
        messages = stepSimulation(simulation, followFrame(1.0f / 60.0f, holding(true))).messages;
    EXPECT_EQ(messages, (Messages{"Passed ring 1 (Total: 1)\n"}));
}
