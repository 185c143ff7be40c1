// Ring passing, refills and the finish point.
#include "game/course.h"
#include "game/game_state.h"
#include "game/rings.h"

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

#include <gtest/gtest.h>

namespace {

GameState fairyAt(glm::vec3 position)
{
    GameState state;
    state.fairyPosition = position;
    return state;
}

}  // namespace

TEST(Rings, PassRadiusIsStrict)
{
    // Offsets along z from a centre with z = 0, so the distance is the
    // offset itself, exactly.
    const glm::vec3 ringOne = ringPositions[0];
    GameState onEdge = fairyAt(ringOne + glm::vec3(0.0f, 0.0f, 0.26f));
    ASSERT_EQ(glm::distance(onEdge.fairyPosition, ringOne), 0.26f);
    EXPECT_EQ(passRing(onEdge, onEdge.fairyPosition), -1);
    EXPECT_EQ(onEdge.totalPassed, 0);
    EXPECT_FALSE(onEdge.ringPassed[0]);

    GameState inside = fairyAt(ringOne + glm::vec3(0.0f, 0.0f, 0.2599f));
    EXPECT_EQ(passRing(inside, inside.fairyPosition), 0);
    EXPECT_EQ(inside.totalPassed, 1);
    EXPECT_TRUE(inside.ringPassed[0]);
}

// A long frame that carries the fairy straight through a ring still passes
// it, though the frame ends beyond the ring's radius; a path that only
// comes near does not.
TEST(Rings, PathThroughTheRingCountsEvenWhenTheFrameEndsBeyondIt)
{
    const glm::vec3 ring = ringPositions[9];
    GameState through = fairyAt(ring + glm::vec3(0.2f, 0.4f, 0.0f));
    EXPECT_EQ(passRing(through, ring - glm::vec3(-0.2f, 0.4f, 0.0f)), 9);

    GameState past = fairyAt(ring + glm::vec3(0.3f, 0.4f, 0.0f));
    EXPECT_EQ(passRing(past, ring + glm::vec3(0.3f, -0.4f, 0.0f)), -1);

    const glm::vec3 before = finishPoint - glm::vec3(0.0f, 1.5f, 0.0f);
    EXPECT_TRUE(reachedFinish(before, finishPoint + glm::vec3(0.0f, 1.5f, 0.0f)));
    EXPECT_FALSE(reachedFinish(before, before - glm::vec3(0.0f, 1.0f, 0.0f)));
}

TEST(Rings, TouchingFromAboveCountsLikeFlyingThrough)
{
    GameState state = fairyAt(ringPositions[9] + glm::vec3(0.0f, 0.25f, 0.0f));
    EXPECT_EQ(passRing(state, state.fairyPosition), 9);
}

TEST(Rings, RefillIsThirtyCappedAtTheMaximum)
{
    GameState nearlyFull = fairyAt(ringPositions[4]);
    nearlyFull.fairyPower = 90.0f;
    passRing(nearlyFull, nearlyFull.fairyPosition);
    EXPECT_EQ(nearlyFull.fairyPower, 100.0f);

    GameState half = fairyAt(ringPositions[4]);
    half.fairyPower = 50.0f;
    passRing(half, half.fairyPosition);
    EXPECT_EQ(half.fairyPower, 80.0f);
}

TEST(Rings, PassedWhileFallingRefillsWithoutEndingTheFall)
{
    GameState state = fairyAt(ringPositions[2]);
    state.fairyPower = 0.0f;
    state.falling = true;
    EXPECT_EQ(passRing(state, state.fairyPosition), 2);
    EXPECT_EQ(state.fairyPower, 30.0f);
    EXPECT_TRUE(state.falling);
}

TEST(Rings, OutOfOrderReportsCourseNumberWithRunningTotal)
{
    GameState state = fairyAt(ringPositions[1]);
    const int first = passRing(state, state.fairyPosition);
    EXPECT_EQ(ringPassedMessage(first, state.totalPassed), "Passed ring 2 (Total: 1)\n");
    state.fairyPosition = ringPositions[14];
    const int second = passRing(state, state.fairyPosition);
    EXPECT_EQ(ringPassedMessage(second, state.totalPassed), "Passed ring 15 (Total: 2)\n");
}

TEST(Rings, PassedRingIsNeverCountedAgain)
{
    GameState state = fairyAt(ringPositions[6]);
    EXPECT_EQ(passRing(state, state.fairyPosition), 6);
    for (int frame = 0; frame < 10; ++frame)
        EXPECT_EQ(passRing(state, state.fairyPosition), -1);
    EXPECT_EQ(state.totalPassed, 1);
    EXPECT_EQ(state.fairyPower, 100.0f);
}

TEST(Rings, AtMostOneRingPerFrameLowestNumberFirst)
{
    const glm::vec3 centres[] = {{5.0f, 0.0f, 0.0f}, {0.1f, 0.0f, 0.0f}, {-0.1f, 0.0f, 0.0f}};
    GameState state = fairyAt({0.0f, 0.0f, 0.0f});
    EXPECT_EQ(passRing(state, state.fairyPosition, centres, 3), 1);
    EXPECT_EQ(state.totalPassed, 1);
    EXPECT_EQ(passRing(state, state.fairyPosition, centres, 3), 2);
    EXPECT_EQ(state.totalPassed, 2);
    EXPECT_EQ(passRing(state, state.fairyPosition, centres, 3), -1);
}

TEST(Rings, MoreCentresThanFlagsIgnoresTheExtraCentres)
{
    const glm::vec3 centres[] = {{5.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}};
    GameState state = fairyAt({0.0f, 0.0f, 0.0f});
    state.ringPassed.assign(1, false);
    EXPECT_EQ(passRing(state, state.fairyPosition, centres, 2), -1);
}

TEST(Rings, CourseFitsInsideTheWallAndNoTwoRingsOverlap)
{
    ASSERT_EQ(GameState().ringPassed.size(), ringPositions.size());
    for (std::size_t i = 0; i < ringPositions.size(); ++i) {
        EXPECT_LE(glm::length(glm::vec2(ringPositions[i].x, ringPositions[i].z)), 4.9f);
        for (std::size_t j = i + 1; j < ringPositions.size(); ++j)
            EXPECT_GE(glm::distance(ringPositions[i], ringPositions[j]), 2.0f * ringPassRadius);
    }
    EXPECT_EQ(ringPositions[9], glm::vec3(0.0f, 9.76f, 0.0f));
}

TEST(Finish, RadiusIsStrict)
{
    const glm::vec3 onEdge = finishPoint - glm::vec3(1.0f, 0.0f, 0.0f);
    ASSERT_EQ(glm::distance(onEdge, finishPoint), 1.0f);
    EXPECT_FALSE(reachedFinish(onEdge, onEdge));
    const glm::vec3 inside = finishPoint - glm::vec3(0.999f, 0.0f, 0.0f);
    EXPECT_TRUE(reachedFinish(inside, inside));
    EXPECT_TRUE(reachedFinish(finishPoint, finishPoint));
    EXPECT_FALSE(reachedFinish({0.0f, 0.5f, 0.0f}, {0.0f, 0.5f, 0.0f}));
}

TEST(Finish, NeedsNoRings)
{
    GameState state = fairyAt(finishPoint);
    EXPECT_EQ(passRing(state, state.fairyPosition), -1);
    EXPECT_TRUE(reachedFinish(state.fairyPosition, state.fairyPosition));
}
