// Steered flight, sinking, the floor, the wall and the fall.
#include "frames.h"

#include "game/flight.h"
#include "game/game_state.h"
#include "game/mouse_look.h"

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Axes {
    glm::vec3 front;
    glm::vec3 right;
};

Axes axes(float yaw, float pitch)
{
    const glm::vec3 front = frontFromAngles({yaw, pitch});
    return {front, rightFromFront(front)};
}

GameState fairyAt(glm::vec3 position)
{
    GameState state;
    state.fairyPosition = position;
    return state;
}

float horizontalDistance(glm::vec3 a, glm::vec3 b)
{
    return glm::length(glm::vec2(a.x - b.x, a.z - b.z));
}

}  // namespace

TEST(Flight, WithoutInputSinksToTheFloorInThreeTenthsOfASecondAndRests)
{
    GameState state;
    const Axes level = axes(0.0f, 0.0f);
    for (int frame = 0; frame < 29; ++frame)
        steerFairy(state, {}, level.front, level.right, 0.01f);
    EXPECT_GT(state.fairyPosition.y, floorHeight);
    for (int frame = 0; frame < 2; ++frame)
        steerFairy(state, {}, level.front, level.right, 0.01f);
    EXPECT_EQ(state.fairyPosition.y, floorHeight);
    for (int frame = 0; frame < 500; ++frame)
        steerFairy(state, {}, level.front, level.right, 0.01f);
    EXPECT_EQ(state.fairyPosition, glm::vec3(0.0f, floorHeight, 0.0f));
}

TEST(Flight, LevelFlightMovesHorizontallyAndStillSinks)
{
    GameState state = fairyAt({0.0f, 10.0f, 0.0f});
    const Axes level = axes(0.0f, 0.0f);
    steerFairy(state, holding(true), level.front, level.right, 0.5f);
    EXPECT_NEAR(state.fairyPosition.x, 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(state.fairyPosition.z, 1.25f);
    EXPECT_FLOAT_EQ(state.fairyPosition.y, 9.5f);
}

TEST(Flight, ClimbingFlightFollowsTheViewAndDoesNotSink)
{
    GameState state = fairyAt({0.0f, 5.0f, 0.0f});
    const Axes up = axes(0.0f, 0.5f);
    steerFairy(state, holding(true), up.front, up.right, 0.5f);
    const glm::vec3 expected = glm::vec3(0.0f, 5.0f, 0.0f) + up.front * 1.25f;
    EXPECT_NEAR(glm::distance(state.fairyPosition, expected), 0.0f, 1e-5f);
    EXPECT_GT(state.fairyPosition.y, 5.5f);
}

TEST(Flight, BackwardsWhileLookingDownClimbs)
{
    GameState state = fairyAt({0.0f, 5.0f, 0.0f});
    const Axes down = axes(0.0f, -0.5f);
    steerFairy(state, holding(false, true), down.front, down.right, 0.5f);
    EXPECT_NEAR(state.fairyPosition.y, 5.0f + 1.25f * std::sin(0.5f), 1e-5f);
}

TEST(Flight, StrafingDoesNotClimbEvenWhenLookingUp)
{
    GameState state = fairyAt({0.0f, 5.0f, 0.0f});
    const Axes up = axes(0.0f, 1.0f);
    steerFairy(state, holding(false, false, false, true), up.front, up.right, 0.5f);
    EXPECT_FLOAT_EQ(state.fairyPosition.y, 4.5f);
    EXPECT_FLOAT_EQ(horizontalDistance(state.fairyPosition, {0.0f, 0.0f, 0.0f}), 1.25f);
}

TEST(Flight, OppositeKeysCancel)
{
    const Axes view = axes(0.7f, 0.3f);
    GameState forwardBack = fairyAt({1.0f, 5.0f, 1.0f});
    steerFairy(forwardBack, holding(true, true), view.front, view.right, 0.5f);
    EXPECT_EQ(forwardBack.fairyPosition, glm::vec3(1.0f, 4.5f, 1.0f));

    GameState leftRight = fairyAt({1.0f, 5.0f, 1.0f});
    steerFairy(leftRight, holding(false, false, true, true), view.front, view.right, 0.5f);
    EXPECT_EQ(leftRight.fairyPosition, glm::vec3(1.0f, 4.5f, 1.0f));
}

TEST(Flight, DiagonalIsNoFasterThanStraight)
{
    const Axes level = axes(0.3f, 0.0f);
    GameState state = fairyAt({0.0f, 5.0f, 0.0f});
    steerFairy(state, holding(true, false, false, true), level.front, level.right, 0.4f);
    EXPECT_FLOAT_EQ(horizontalDistance(state.fairyPosition, {0.0f, 0.0f, 0.0f}), 1.0f);
}

TEST(Flight, WallHoldsTheFairyOnItsCircleAtEveryHeight)
{
    for (float height : {1.0f, 10.0f, 19.9f, 20.0f, 20.5f, 30.0f, 100.0f}) {
        for (float heading : {0.0f, 0.8f, 2.0f, -2.5f}) {
            SCOPED_TRACE(testing::Message() << "height " << height << " heading " << heading);
            const glm::vec2 outwards(std::sin(heading), std::cos(heading));
            GameState state = fairyAt({outwards.x * 4.8f, height, outwards.y * 4.8f});
            const Axes out = axes(heading, 0.2f);
            steerFairy(state, holding(true), out.front, out.right, 0.5f);
            const glm::vec2 horizontal(state.fairyPosition.x, state.fairyPosition.z);
            EXPECT_NEAR(glm::length(horizontal), fairyHorizontalLimit, 1e-5f);
            EXPECT_NEAR(glm::dot(glm::normalize(horizontal), outwards), 1.0f, 1e-5f);
            EXPECT_NEAR(state.fairyPosition.y, height + out.front.y * 1.25f, 1e-4f);
        }
    }
}

TEST(Flight, HugeStepStaysInsideTheWellAndOnTheFloor)
{
    GameState state;
    const Axes level = axes(1.0f, 0.0f);
    steerFairy(state, holding(true), level.front, level.right, 1000.0f);
    EXPECT_NEAR(horizontalDistance(state.fairyPosition, {0.0f, 0.0f, 0.0f}), 4.9f, 1e-5f);
    EXPECT_EQ(state.fairyPosition.y, floorHeight);
}

TEST(Flight, FallingIgnoresKeysAndDropsFiveUnitsPerSecond)
{
    GameState state = fairyAt({1.0f, 10.0f, -2.0f});
    state.falling = true;
    const Axes up = axes(0.0f, 1.0f);
    EXPECT_FALSE(stepFairy(state, holding(true, false, true), up.front, up.right, 0.5f));
    EXPECT_EQ(state.fairyPosition, glm::vec3(1.0f, 7.5f, -2.0f));
}

TEST(Flight, FallEndsTheGameOnTheFloor)
{
    GameState state = fairyAt({1.0f, 0.5f, -2.0f});
    state.falling = true;
    const Axes level = axes(0.0f, 0.0f);
    EXPECT_FALSE(stepFairy(state, {}, level.front, level.right, 0.05f));
    EXPECT_TRUE(stepFairy(state, {}, level.front, level.right, 0.05f));
    EXPECT_EQ(state.fairyPosition, glm::vec3(1.0f, floorHeight, -2.0f));
}
