// The particle trail's simulation: a fixed pool of sparks that are emitted at
// a steady rate, fly in straight lines and fade over their lifetime, packed
// into an instance array ready for upload. Seconds and world units. No GL:
// the scene's particle renderer owns the buffers and the draw.
#pragma once

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <random>
#include <vector>

struct Particle {
    glm::vec3 position{0.0f};
    glm::vec3 velocity{0.0f};  // world units per second
    glm::vec4 color{0.0f};     // alpha rewritten each step to life / particleLifetime
    float life = 0.0f;         // seconds left; live while > 0
};

// The fairy's trail: how many sparks it can hold and how many it emits a second.
inline constexpr std::uint32_t trailParticleSlots = 500;
inline constexpr float trailSpawnRate = 150.0f;

inline constexpr float particleLifetime = 1.5f;
inline constexpr float particleSpawnHalfSize = 0.05f;
inline constexpr float particleBaseSpeed = 1.5f;
inline constexpr float particleSpeedSpread = 0.5f;

// One uniform sample in [-1, 1] from one 32-bit engine output, computed in
// single precision so that a seed gives the same trail everywhere.
float signedUnitSample(std::uint32_t engineOutput);

class ParticlePool {
public:
    ParticlePool(std::uint32_t maxParticles, float spawnRate, std::uint32_t seed);

    void seed(std::uint32_t value) { engine.seed(value); }
    // Every spark gone and nothing due: the trail of a new run.
    void clear();

    // Emits, ages, moves and packs; returns the number of live particles,
    // whose data now starts instanceStaging(). Allocates nothing. A new
    // particle takes the first dead slot, or slot 0 when every one is live.
    std::uint32_t step(float deltaTime, const glm::vec3& origin);

    // Two vec4 per live particle in slot order: (position, life), then color.
    // Always 2 * maxParticles entries; only the first 2 * aliveCount() are current.
    const std::vector<glm::vec4>& instanceStaging() const { return staging; }
    const std::vector<Particle>& particles() const { return pool; }
    std::uint32_t aliveCount() const { return alive; }
    std::uint32_t maxParticles() const { return static_cast<std::uint32_t>(pool.size()); }

private:
    std::uint32_t findUnusedParticle() const;
    // Re-initialises one particle around `origin` from seven samples.
    void respawnParticle(Particle& particle, const glm::vec3& origin);
    float nextSample();

    std::vector<Particle> pool;
    float rate = 0.0f;
    float accumulator = 0.0f;
    std::uint32_t alive = 0;
    std::mt19937 engine;
    std::vector<glm::vec4> staging;
};
