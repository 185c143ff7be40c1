// Ring passing, refills, the reports and the finish point.
#include "game/course.h"
#include "game/game_state.h"
#include "game/rings.h"

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

#include <gtest/gtest.h>

#include <cmath>

namespace {

const Course classic;
const std::vector<glm::vec3>& ringPositions = classic.rings;
const glm::vec3 finishPoint = classic.finish;

GameState fairyAt(glm::vec3 position, float power = 50.0f, const Course& course = classic)
{
    GameState state = makeGameState(CameraSettings{}, course);
    state.fairyPosition = position;
    state.fairyPower = power;
    return state;
}

}  // namespace

// A frame passes a ring or reaches the finish when its path from where the
// fairy was to where it is comes strictly within the radius: a long frame
// that carries the fairy straight through a ring passes it, though it ends
// beyond the ring's radius; a path that only comes near does not.
TEST(Rings, ThePathOfTheWholeFrameCountsStrictlyWithinTheRadius)
{
    const glm::vec3 ring = ringPositions[9], z(0.0f, 0.0f, 1.0f), y(0.0f, 1.0f, 0.0f);
    const struct {
        glm::vec3 from, to;
        int ring;
    } rings[] = {
        // Offsets along z from centres with z = 0: the distance is the offset, exactly.
        {ringPositions[0] + 0.26f * z, ringPositions[0] + 0.26f * z, -1},
        {ringPositions[0] + 0.2599f * z, ringPositions[0] + 0.2599f * z, 0},
        {ring + 0.25f * y, ring + 0.25f * y, 9},  // touching from above
        {ring + glm::vec3(0.2f, 0.4f, 0.0f), ring + glm::vec3(0.2f, -0.4f, 0.0f), 9},
        {ring + glm::vec3(0.3f, 0.4f, 0.0f), ring + glm::vec3(0.3f, -0.4f, 0.0f), -1},
    };
    for (const auto& c : rings) {
        GameState state = fairyAt(c.from);
        EXPECT_EQ(passRing(state, c.to, classic), c.ring) << c.from.x << " " << c.from.y << " " << c.from.z;
    }
    EXPECT_FLOAT_EQ(distanceToPath({0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 0.0f}, {1.0f, 3.0f, 0.0f}), std::sqrt(2.0f));

    EXPECT_FALSE(reachedFinish(finishPoint - z, finishPoint - z, classic));
    EXPECT_TRUE(reachedFinish(finishPoint - 0.999f * z, finishPoint - 0.999f * z, classic));
    EXPECT_TRUE(reachedFinish(finishPoint - 1.5f * y, finishPoint + 1.5f * y, classic));
    EXPECT_FALSE(reachedFinish(finishPoint - 2.5f * y, finishPoint - 1.5f * y, classic));
}

TEST(Rings, EachRingRefillsThirtyUpToTheFullOnceAndIsReportedByItsCourseNumber)
{
    GameState state = fairyAt(ringPositions[1], 90.0f);
    ASSERT_EQ(passRing(state, state.fairyPosition, classic), 1);
    EXPECT_EQ(state.fairyPower, 100.0f);
    EXPECT_EQ(ringPassedMessage(1, state.totalPassed), "Passed ring 2 (Total: 1)\n");
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(passRing(state, state.fairyPosition, classic), -1);

    state.fairyPosition = ringPositions[14];
    state.fairyPower = 0.0f;
    state.falling = true;
    ASSERT_EQ(passRing(state, state.fairyPosition, classic), 14);
    EXPECT_EQ(state.fairyPower, 30.0f);
    EXPECT_TRUE(state.falling);  // a refill never ends the fall
    EXPECT_EQ(ringPassedMessage(14, state.totalPassed), "Passed ring 15 (Total: 2)\n");
    EXPECT_EQ(state.ringPassed, std::vector<bool>({false, true, false, false, false, false, false, false, false,
                                                   false, false, false, false, false, true}));
}

TEST(Rings, AtMostOneRingAFrameLowestNumberFirst)
{
    Course three;
    three.rings = {{5.0f, 0.0f, 0.0f}, {0.1f, 0.0f, 0.0f}, {-0.1f, 0.0f, 0.0f}};
    GameState state = fairyAt({0.0f, 0.0f, 0.0f}, 50.0f, three);
    EXPECT_EQ(passRing(state, state.fairyPosition, three), 1);
    EXPECT_EQ(passRing(state, state.fairyPosition, three), 2);
    EXPECT_EQ(passRing(state, state.fairyPosition, three), -1);
    EXPECT_EQ(state.totalPassed, 2);
    // Centres beyond the flags are never read.
    state.ringPassed.assign(1, false);
    EXPECT_EQ(passRing(state, state.fairyPosition, three), -1);
}

TEST(Rings, CourseFitsInsideTheWallWithRingsApart)
{
    ASSERT_EQ(fairyAt({}).ringPassed.size(), ringPositions.size());
    for (std::size_t i = 0; i < ringPositions.size(); ++i) {
        EXPECT_LE(glm::length(glm::vec2(ringPositions[i].x, ringPositions[i].z)), 4.9f);
        for (std::size_t j = i + 1; j < ringPositions.size(); ++j)
            EXPECT_GE(glm::distance(ringPositions[i], ringPositions[j]), 2.0f * classic.ringPassRadius);
    }
}
