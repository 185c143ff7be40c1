// The trail's arithmetic without a window: emission with its carried
// fraction, ageing and fading, slot reuse, packing, the random draws and the
// absence of allocations per step. Observed through what a step packs for
// the renderer: (position, life) and the colour of each live particle.
#include "allocation_counter.h"

#include "game/particle_pool.h"

#include <glm/geometric.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float frame60 = 1.0f / 60.0f;
const glm::vec3 fairy(0.0f, 0.5f, 0.0f);

glm::vec4 packedPositionAndLife(const ParticlePool& pool, std::uint32_t i)
{
    return pool.instanceStaging()[2 * i];
}

glm::vec4 packedColor(const ParticlePool& pool, std::uint32_t i)
{
    return pool.instanceStaging()[2 * i + 1];
}

}  // namespace

TEST(ParticleSample, MapsTheEngineOutputOntoMinusOneToOne)
{
    EXPECT_EQ(signedUnitSample(0u), -1.0f);
    EXPECT_EQ(signedUnitSample(0x80000000u), 0.0f);
    EXPECT_EQ(signedUnitSample(0x40000000u), -0.5f);
    EXPECT_EQ(signedUnitSample(0xFFFFFFFFu), 1.0f);  // rounds to 2^32 in single precision
}

// 150 a second: nothing until a whole particle is due, then two or three a
// frame at 60 frames a second, 2.5 on average; about 225 live in steady play.
TEST(ParticlePool, EmitsOneHundredFiftyASecondCarryingTheFraction)
{
    ParticlePool pool(trailParticleSlots, trailSpawnRate, 1u);
    EXPECT_EQ(pool.step(0.005f, fairy), 0u);  // 0.75 due
    EXPECT_EQ(pool.step(0.0025f, fairy), 1u);  // 1.125: one, 0.125 carried
    ParticlePool steady(trailParticleSlots, trailSpawnRate, 1u);
    std::uint32_t previous = 0;
    for (int frame = 0; frame < 60; ++frame) {
        const std::uint32_t alive = steady.step(frame60, fairy);
        EXPECT_TRUE(alive - previous == 2u || alive - previous == 3u) << "frame " << frame;
        previous = alive;
    }
    EXPECT_EQ(previous, 150u);
    for (int frame = 0; frame < 240; ++frame)
        steady.step(frame60, fairy);
    EXPECT_NEAR(static_cast<float>(steady.aliveCount()), 225.0f, 3.0f);
}

// Each spark starts within 0.05 of the fairy, flies straight down-ish at 1 to
// 2 units a second, and fades: its alpha is life / 1.5 after every step.
TEST(ParticlePool, SparksFlyStraightAndFadeWithTheirLife)
{
    ParticlePool pool(trailParticleSlots, trailSpawnRate, 5u);
    pool.step(0.1f, fairy);
    ASSERT_EQ(pool.aliveCount(), 15u);
    std::vector<glm::vec3> first;
    for (std::uint32_t i = 0; i < 15; ++i) {
        const glm::vec4 packed = packedPositionAndLife(pool, i);
        EXPECT_FLOAT_EQ(packed.w, 1.4f) << "new sparks age by their first step";
        EXPECT_FLOAT_EQ(packedColor(pool, i).a, 1.4f / 1.5f);
        first.push_back(glm::vec3(packed));
    }
    pool.step(0.5f, fairy);
    for (std::uint32_t i = 0; i < 15; ++i) {
        const glm::vec3 moved = glm::vec3(packedPositionAndLife(pool, i)) - first[i];
        const float speed = glm::length(moved) / 0.5f;
        EXPECT_TRUE(speed >= 1.0f && speed <= 2.0f) << speed;
        EXPECT_LE(moved.y, 0.0f);
        EXPECT_LE(glm::length(first[i] - fairy), 0.05f * std::sqrt(3.0f) + 0.2f + 1e-5f);
        EXPECT_FLOAT_EQ(packedColor(pool, i).a, 0.9f / 1.5f);
    }
}

TEST(ParticlePool, SparksDieAtTheEndOfTheirLifeAndFreeTheirSlots)
{
    ParticlePool pool(4, 1.0f, 3u);
    EXPECT_EQ(pool.step(1.0f, fairy), 1u);
    EXPECT_EQ(pool.step(0.4f, fairy), 1u);
    EXPECT_EQ(pool.step(0.2f, fairy), 0u);  // its 1.5 s are over
    EXPECT_EQ(pool.step(0.4f, fairy), 1u);  // the next takes the freed slot
    EXPECT_FLOAT_EQ(packedPositionAndLife(pool, 0).w, 1.1f);
    // A stall emits no more than the pool holds.
    ParticlePool small(4, 10.0f, 3u);
    EXPECT_EQ(small.step(1.4f, fairy), 4u);
    // A spark born in a step of 1.5 s dies in that very step and is never drawn.
    ParticlePool stall(trailParticleSlots, trailSpawnRate, 3u);
    EXPECT_EQ(stall.step(1.5f, fairy), 0u);
    ParticlePool empty(0, trailSpawnRate, 3u);
    EXPECT_EQ(empty.step(10.0f, fairy), 0u);
}

TEST(ParticlePool, WithEverySlotLiveTheNewestReplacesSlotZero)
{
    ParticlePool pool(3, 1000.0f, 9u);
    pool.step(0.003f, fairy);
    ASSERT_EQ(pool.aliveCount(), 3u);
    const glm::vec4 slotOne = packedPositionAndLife(pool, 1);
    pool.step(0.001f, glm::vec3(9.0f, 9.0f, 9.0f));
    EXPECT_LT(glm::distance(glm::vec3(packedPositionAndLife(pool, 0)), glm::vec3(9.0f)), 0.1f);
    EXPECT_LT(glm::distance(glm::vec3(packedPositionAndLife(pool, 1)), glm::vec3(slotOne)), 0.01f);
}

TEST(ParticlePool, TheSameSeedGivesTheSameTrailAndStepsAllocateNothing)
{
    ParticlePool one(trailParticleSlots, trailSpawnRate, 42u);
    ParticlePool two(trailParticleSlots, trailSpawnRate, 42u);
    ParticlePool other(trailParticleSlots, trailSpawnRate, 43u);
    AllocationCounter counter;
    for (int frame = 0; frame < 100; ++frame) {
        one.step(frame60, fairy);
        two.step(frame60, fairy);
        other.step(frame60, fairy);
    }
    EXPECT_EQ(counter.count(), 0);
    EXPECT_EQ(one.instanceStaging(), two.instanceStaging());
    EXPECT_NE(one.instanceStaging(), other.instanceStaging());
}
