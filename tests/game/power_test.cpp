// Power drain and depletion.
#include "game/game_state.h"
#include "game/power.h"

#include <gtest/gtest.h>

TEST(Power, StartsFullAndDrainsTwentyPerSecond)
{
    GameState state;
    EXPECT_EQ(state.fairyPower, 100.0f);
    EXPECT_FALSE(drainPower(state, 0.5f));
    EXPECT_FLOAT_EQ(state.fairyPower, 90.0f);
    EXPECT_FALSE(state.falling);
}

TEST(Power, HugeStepEmptiesToExactlyZero)
{
    GameState state;
    EXPECT_TRUE(drainPower(state, 1000.0f));
    EXPECT_EQ(state.fairyPower, 0.0f);
    EXPECT_TRUE(state.falling);
}

TEST(Power, DepletionIsReportedOnceAndTheDrainGoesOn)
{
    GameState state;
    state.fairyPower = 1.0f;
    EXPECT_TRUE(drainPower(state, 0.05f));
    state.fairyPower = 10.0f;  // a ring refilled it during the fall
    EXPECT_FALSE(drainPower(state, 0.25f));
    EXPECT_FLOAT_EQ(state.fairyPower, 5.0f);
    EXPECT_FALSE(drainPower(state, 1.0f));
    EXPECT_EQ(state.fairyPower, 0.0f);
    EXPECT_TRUE(state.falling);
}
