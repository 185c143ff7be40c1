// The trail's arithmetic without a window: emission with its carried
// fraction, ageing and fading, slot reuse, packing, the random draws and
// the absence of allocations per step.
#include "support/allocation_counter.h"

#include "game/particle_pool.h"

#include <glm/geometric.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr float frame60 = 1.0f / 60.0f;
const glm::vec3 fairy(0.0f, 0.5f, 0.0f);

}  // namespace

TEST(ParticleSample, MapsTheEngineOutputOntoMinusOneToOne)
{
    EXPECT_EQ(signedUnitSample(0u), -1.0f);
    EXPECT_EQ(signedUnitSample(0x80000000u), 0.0f);
    EXPECT_EQ(signedUnitSample(0x40000000u), -0.5f);
    // The largest output rounds to 2^32 in single precision.
    EXPECT_EQ(signedUnitSample(0xFFFFFFFFu), 1.0f);
}

TEST(ParticlePool, RespawnUsesSevenSamplesInTheirOrder)
{
    ParticlePool pool(4, 0.0f, 1234u);
    std::mt19937 reference(1234u);
    float u[7];
    for (float& sample : u)
        sample = signedUnitSample(static_cast<std::uint32_t>(reference()));

    const glm::vec3 origin(1.0f, 2.0f, 3.0f);
    Particle particle;
    pool.respawnParticle(particle, origin);

    EXPECT_EQ(particle.position, origin + 0.05f * glm::vec3(u[2], u[1], u[0]));
    const glm::vec3 velocity = glm::normalize(glm::vec3(u[5], u[4] - 1.0f, u[3])) * (1.5f + 0.5f * u[6]);
    EXPECT_EQ(particle.velocity, velocity);
    EXPECT_EQ(particle.color, glm::vec4(1.0f));
    EXPECT_EQ(particle.life, 1.5f);
    // The next respawn continues the same stream.
    EXPECT_EQ(pool.nextSample(), signedUnitSample(static_cast<std::uint32_t>(reference())));
}

TEST(ParticlePool, NewParticlesStartNearTheOriginAndDriftDownAtOneToTwoUnitsPerSecond)
{
    ParticlePool pool(1, 0.0f, 7u);
    const glm::vec3 origin(-2.0f, 8.0f, 0.5f);
    for (int i = 0; i < 2000; ++i) {
        Particle particle;
        pool.respawnParticle(particle, origin);
        const glm::vec3 offset = particle.position - origin;
        ASSERT_LE(std::abs(offset.x), 0.05f + 1e-6f);
        ASSERT_LE(std::abs(offset.y), 0.05f + 1e-6f);
        ASSERT_LE(std::abs(offset.z), 0.05f + 1e-6f);
        const float speed = glm::length(particle.velocity);
        ASSERT_GE(speed, 1.0f - 1e-5f);
        ASSERT_LE(speed, 2.0f + 1e-5f);
        ASSERT_LE(particle.velocity.y, 0.0f);
    }
}

TEST(ParticlePool, TheSameSeedGivesTheSameTrail)
{
    ParticlePool first(50, 150.0f, 99u);
    ParticlePool second(50, 150.0f, 99u);
    ParticlePool other(50, 150.0f, 100u);
    for (int i = 0; i < 30; ++i) {
        first.step(frame60, fairy);
        second.step(frame60, fairy);
        other.step(frame60, fairy);
    }
    EXPECT_EQ(first.instanceStaging(), second.instanceStaging());
    EXPECT_NE(first.instanceStaging(), other.instanceStaging());

    second.seed(5u);
    first.seed(5u);
    first.step(frame60, fairy);
    second.step(frame60, fairy);
    EXPECT_EQ(first.instanceStaging(), second.instanceStaging());
}

TEST(ParticlePool, StartsWithEverySlotDead)
{
    ParticlePool pool(500, 150.0f, 1u);
    EXPECT_EQ(pool.maxParticles(), 500u);
    EXPECT_EQ(pool.aliveCount(), 0u);
    EXPECT_EQ(pool.spawnAccumulator(), 0.0f);
    for (const Particle& particle : pool.particles())
        ASSERT_EQ(particle.life, 0.0f);
    EXPECT_EQ(pool.instanceStaging().size(), 1000u);
}

TEST(ParticlePool, NothingIsEmittedUntilTheCarriedFractionReachesOne)
{
    ParticlePool pool(10, 1.0f, 1u);
    EXPECT_EQ(pool.step(0.25f, fairy), 0u);
    EXPECT_EQ(pool.step(0.25f, fairy), 0u);
    EXPECT_EQ(pool.step(0.25f, fairy), 0u);
    EXPECT_EQ(pool.spawnAccumulator(), 0.75f);
    EXPECT_EQ(pool.step(0.25f, fairy), 1u);
    EXPECT_EQ(pool.spawnAccumulator(), 0.0f);
}

TEST(ParticlePool, TheFractionCarriesOverAfterAnEmission)
{
    ParticlePool pool(10, 10.0f, 1u);
    EXPECT_EQ(pool.step(0.25f, fairy), 2u);  // 2.5 due
    EXPECT_EQ(pool.spawnAccumulator(), 0.5f);
    EXPECT_EQ(pool.step(0.25f, fairy), 5u);  // 3.0 due
    EXPECT_EQ(pool.spawnAccumulator(), 0.0f);
}

TEST(ParticlePool, OneHundredFiftyPerSecondAtSixtyFramesGivesTwoOrThreeAFrame)
{
    ParticlePool pool(500, 150.0f, 1u);
    std::uint32_t previous = 0;
    std::vector<std::uint32_t> emitted;
    // Within the first 1.5 s nothing dies, so the live count grows by the emissions.
    for (int frame = 0; frame < 60; ++frame) {
        const std::uint32_t alive = pool.step(frame60, fairy);
        emitted.push_back(alive - previous);
        previous = alive;
    }
    for (std::uint32_t count : emitted)
        ASSERT_TRUE(count == 2 || count == 3) << count;
    EXPECT_EQ(previous, 150u);  // 2.5 on average
}

TEST(ParticlePool, SteadyPlayKeepsAboutTwoHundredTwentyFiveAlive)
{
    ParticlePool pool(500, 150.0f, 1u);
    std::uint32_t alive = 0;
    for (int frame = 0; frame < 300; ++frame)
        alive = pool.step(frame60, fairy);
    EXPECT_GE(alive, 220u);
    EXPECT_LE(alive, 228u);
}

TEST(ParticlePool, AlphaIsLifeOverOnePointFiveAfterEveryStep)
{
    ParticlePool pool(500, 150.0f, 3u);
    const float steps[] = {0.016f, 0.033f, 0.0f, 0.1f, 0.25f, 0.007f, 0.5f, 0.02f};
    for (int round = 0; round < 20; ++round) {
        for (float dt : steps) {
            const std::uint32_t alive = pool.step(dt, fairy + glm::vec3(0.0f, 0.1f * round, 0.0f));
            std::uint32_t live = 0;
            for (const Particle& particle : pool.particles()) {
                if (particle.life <= 0.0f)
                    continue;
                ++live;
                ASSERT_EQ(particle.color.a, particle.life / 1.5f);
                ASSERT_LT(particle.color.a, 1.0f);
            }
            ASSERT_EQ(live, alive);
        }
    }
}

TEST(ParticlePool, StagingHoldsPositionAndLifeThenColourOfEachLiveSlotInOrder)
{
    ParticlePool pool(20, 40.0f, 11u);
    for (int i = 0; i < 50; ++i)
        pool.step(0.05f, fairy + glm::vec3(0.0f, 0.02f * i, 0.0f));
    const std::uint32_t alive = pool.aliveCount();
    ASSERT_GT(alive, 0u);
    std::uint32_t packed = 0;
    for (const Particle& particle : pool.particles()) {
        if (particle.life <= 0.0f)
            continue;
        ASSERT_EQ(pool.instanceStaging()[2 * packed], glm::vec4(particle.position, particle.life));
        ASSERT_EQ(pool.instanceStaging()[2 * packed + 1], particle.color);
        ++packed;
    }
    EXPECT_EQ(packed, alive);
}

TEST(ParticlePool, NewParticlesAgeByTheirFirstStepAndMoveInAStraightLine)
{
    ParticlePool pool(4, 1.0f, 21u);
    ASSERT_EQ(pool.step(1.0f, fairy), 1u);
    const Particle first = pool.particles()[0];
    EXPECT_EQ(first.life, 0.5f);
    EXPECT_FLOAT_EQ(first.color.a, 1.0f / 3.0f);
    EXPECT_LT(glm::distance(first.position - first.velocity, fairy), 0.05f * std::sqrt(3.0f) + 1e-5f);

    pool.step(0.25f, fairy);
    const Particle later = pool.particles()[0];
    EXPECT_EQ(later.velocity, first.velocity);
    EXPECT_EQ(later.position, first.position + first.velocity * 0.25f);
    EXPECT_EQ(later.life, 0.25f);
}

TEST(ParticlePool, AParticleEmittedWithAStepOfOnePointFiveDiesInThatStep)
{
    ParticlePool pool(4, 1.0f, 1u);
    EXPECT_EQ(pool.step(1.5f, fairy), 0u);
    EXPECT_EQ(pool.particles()[0].life, 0.0f);
    EXPECT_EQ(pool.particles()[0].color.a, 1.0f);  // never faded: it was never written

    ParticlePool longer(4, 1.0f, 1u);
    EXPECT_EQ(longer.step(3.0f, fairy), 0u);
    for (const Particle& particle : longer.particles())
        EXPECT_EQ(particle.life, 0.0f);
}

TEST(ParticlePool, ParticlesDieWhenTheirLifeReachesZeroAndFreeTheirSlot)
{
    ParticlePool pool(4, 1.0f, 1u);
    pool.step(1.0f, fairy);  // one particle in slot 0, life 0.5
    EXPECT_EQ(pool.findUnusedParticle(), 1u);
    EXPECT_EQ(pool.step(0.25f, fairy), 1u);
    EXPECT_EQ(pool.step(0.25f, fairy), 0u);  // exactly 0 is dead
    EXPECT_EQ(pool.particles()[0].life, 0.0f);
    EXPECT_EQ(pool.findUnusedParticle(), 0u);
}

TEST(ParticlePool, FindUnusedParticleScansFromSlotZero)
{
    ParticlePool pool(3, 2.0f, 1u);
    EXPECT_EQ(pool.findUnusedParticle(), 0u);
    pool.step(0.5f, fairy);  // one particle
    EXPECT_EQ(pool.findUnusedParticle(), 1u);
    pool.step(0.5f, fairy);  // two
    EXPECT_EQ(pool.findUnusedParticle(), 2u);
    pool.step(0.5f, fairy);  // fills slot 2; slot 0 dies in the same step
    EXPECT_EQ(pool.aliveCount(), 2u);
    EXPECT_EQ(pool.findUnusedParticle(), 0u);
}

TEST(ParticlePool, WithEverySlotLiveNewParticlesReplaceSlotZero)
{
    ParticlePool pool(4, 80.0f, 5u);
    ASSERT_EQ(pool.step(0.05f, fairy), 4u);  // four due, every slot filled
    const std::vector<Particle> before = pool.particles();
    EXPECT_EQ(pool.findUnusedParticle(), 0u);

    ASSERT_EQ(pool.step(0.0125f, fairy), 4u);  // one more due
    const std::vector<Particle>& after = pool.particles();
    EXPECT_EQ(after[0].life, 1.5f - 0.0125f);
    EXPECT_NE(after[0].velocity, before[0].velocity);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(after[i].life, before[i].life - 0.0125f) << i;
        EXPECT_EQ(after[i].velocity, before[i].velocity) << i;
    }

    // Five more at once while all are live: each lands on slot 0 again.
    ASSERT_EQ(pool.step(0.0625f, fairy), 4u);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(pool.particles()[i].velocity, before[i].velocity) << i;
    EXPECT_EQ(pool.particles()[0].life, 1.5f - 0.0625f);
}

TEST(ParticlePool, AnEmptyPoolEmitsNothing)
{
    ParticlePool pool(0, 150.0f, 1u);
    EXPECT_EQ(pool.step(1.0f, fairy), 0u);
    EXPECT_TRUE(pool.instanceStaging().empty());
}

TEST(ParticlePool, ALongStallEmitsNoMoreThanThePoolHolds)
{
    ParticlePool pool(10, 150.0f, 1u);
    EXPECT_EQ(pool.step(1.0f, fairy), 10u);
    EXPECT_EQ(pool.spawnAccumulator(), 0.0f);
    EXPECT_EQ(pool.step(1.0e9f, fairy), 0u);  // all dead, none left in the step
}

TEST(ParticlePool, PausingAndResumingContinuesTheSameParticles)
{
    ParticlePool pool(500, 150.0f, 8u);
    for (int frame = 0; frame < 30; ++frame)
        pool.step(frame60, fairy);
    const std::vector<Particle> paused = pool.particles();
    const float carried = pool.spawnAccumulator();

    // While paused nothing runs; the first step afterwards carries on from
    // where the particles were, with the same fraction carried.
    pool.step(frame60, fairy);
    const float due = carried + frame60 * 150.0f;
    const auto emitted = static_cast<std::size_t>(due);
    EXPECT_EQ(pool.spawnAccumulator(), due - static_cast<float>(emitted));
    std::size_t carriedOn = 0;
    for (std::size_t i = 0; i < paused.size(); ++i) {
        if (paused[i].life <= 0.0f)
            continue;
        ++carriedOn;
        EXPECT_EQ(pool.particles()[i].life, paused[i].life - frame60) << i;
        EXPECT_EQ(pool.particles()[i].position, paused[i].position + paused[i].velocity * frame60) << i;
    }
    EXPECT_EQ(pool.aliveCount(), carriedOn + emitted);
}

TEST(ParticlePool, SteadyStepsAllocateNothing)
{
    ParticlePool pool(500, 150.0f, 2u);
    pool.step(frame60, fairy);
    int allocations = -1;
    {
        const AllocationCounter counter;
        for (int frame = 0; frame < 200; ++frame)
            pool.step(frame60, fairy + glm::vec3(0.0f, 0.01f * frame, 0.0f));
        allocations = counter.count();
    }
    EXPECT_EQ(allocations, 0);
}
