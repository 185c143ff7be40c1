// Steered flight, sinking, the floor, the wall, the power drain and the fall.
#include "frames.h"

#include "game/flight.h"
#include "game/game_state.h"
#include "game/mouse_look.h"
#include "game/power.h"

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

#include <gtest/gtest.h>

#include <cmath>

namespace {

const Course classic;

GameState startOf(const Course& course)
{
    return makeGameState(CameraSettings{}, course);
}

// Half a second of steering from `start` with the view at (yaw, pitch).
glm::vec3 steerHalfASecond(glm::vec3 start, float yaw, float pitch, HeldKeys keys, const Course& course = classic)
{
    GameState state = startOf(course);
    state.fairyPosition = start;
    const glm::vec3 front = frontFromAngles({yaw, pitch});
    steerFairy(state, keys, front, rightFromFront(front), 0.5f, course);
    return state.fairyPosition;
}

}  // namespace

// Each case: where half a second of these keys takes a fairy from (0, 5, 0).
TEST(Flight, KeysMoveAlongTheViewAndSinkingStopsOnlyWhileClimbing)
{
    const float climb = 1.25f * std::sin(0.5f);
    struct Case {
        const char* what;
        float pitch;
        HeldKeys keys;
        glm::vec3 expected;
    };
    const Case cases[] = {
        {"W, level: 1.25 ahead and sinking 0.5", 0.0f, holding(true), {0.0f, 4.5f, 1.25f}},
        {"W, looking up: along the view, no sinking", 0.5f, holding(true), {0.0f, 5.0f + climb, 1.25f * std::cos(0.5f)}},
        {"S, looking down: climbs backwards", -0.5f, holding(false, true), {0.0f, 5.0f + climb, -1.25f * std::cos(0.5f)}},
        {"D, looking up: strafing never climbs", 1.0f, holding(false, false, false, true), {-1.25f, 4.5f, 0.0f}},
        {"W and S cancel", 0.3f, holding(true, true), {0.0f, 4.5f, 0.0f}},
        {"A and D cancel", 0.3f, holding(false, false, true, true), {0.0f, 4.5f, 0.0f}},
        {"W and D: no faster than straight", 0.0f, holding(true, false, false, true),
         {-1.25f / std::sqrt(2.0f), 4.5f, 1.25f / std::sqrt(2.0f)}},
        {"nothing: sinks", 0.0f, {}, {0.0f, 4.5f, 0.0f}},
    };
    for (const Case& c : cases) {
        const glm::vec3 moved = steerHalfASecond({0.0f, 5.0f, 0.0f}, 0.0f, c.pitch, c.keys);
        EXPECT_LT(glm::distance(moved, c.expected), 1e-5f) << c.what;
    }
}

TEST(Flight, SinksToTheFloorInThreeTenthsOfASecondAndRestsThere)
{
    GameState state = startOf(classic);
    const glm::vec3 front = frontFromAngles({0.0f, 0.0f});
    for (int frame = 0; frame < 29; ++frame)
        steerFairy(state, {}, front, rightFromFront(front), 0.01f, classic);
    EXPECT_GT(state.fairyPosition.y, floorHeight);
    for (int frame = 0; frame < 500; ++frame)
        steerFairy(state, {}, front, rightFromFront(front), 0.01f, classic);
    EXPECT_EQ(state.fairyPosition, glm::vec3(0.0f, floorHeight, 0.0f));
    // A huge step ends on the floor too, and inside the wall.
    steerFairy(state, holding(true), front, rightFromFront(front), 1000.0f, classic);
    EXPECT_LT(glm::distance(state.fairyPosition, glm::vec3(0.0f, floorHeight, 4.9f)), 1e-5f);
}

// The classic well's wall of radius 5 holds the fairy's centre at 4.9, a
// narrower course's wall of radius 3 at 2.9.
TEST(Flight, WallHoldsTheFairyOnItsCircleAtEveryHeight)
{
    Course narrow;
    narrow.wellRadius = 3.0f;
    for (const Course* course : {&classic, static_cast<const Course*>(&narrow)})
    for (float height : {1.0f, 19.9f, 20.5f, 100.0f}) {
        for (float heading : {0.0f, 0.8f, 2.0f, -2.5f}) {
            const glm::vec2 outwards(std::sin(heading), std::cos(heading));
            const float near = course->wellRadius - 0.2f;
            const glm::vec3 moved = steerHalfASecond({outwards.x * near, height, outwards.y * near}, heading, 0.2f,
                                                     holding(true), *course);
            const glm::vec2 horizontal(moved.x, moved.z);
            EXPECT_NEAR(glm::length(horizontal), course->wellRadius - 0.1f, 1e-5f) << height << " " << heading;
            EXPECT_NEAR(glm::dot(glm::normalize(horizontal), outwards), 1.0f, 1e-5f);
            EXPECT_NEAR(moved.y, height + 1.25f * std::sin(0.2f), 1e-4f);
        }
    }
}

TEST(Power, DrainsTwentyASecondToExactlyZeroAndStartsTheFallOnce)
{
    GameState state = startOf(classic);
    EXPECT_FALSE(drainPower(state, 4.5f, classic));
    EXPECT_FLOAT_EQ(state.fairyPower, 10.0f);
    EXPECT_TRUE(drainPower(state, 10.0f, classic));
    EXPECT_EQ(state.fairyPower, 0.0f);
    EXPECT_TRUE(state.falling);
    EXPECT_FALSE(drainPower(state, 1.0f, classic));  // reported once
}
