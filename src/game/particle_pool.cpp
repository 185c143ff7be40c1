// Emission, ageing and packing of the particle trail.
#include "game/particle_pool.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

float signedUnitSample(std::uint32_t engineOutput)
{
    const float unit = static_cast<float>(engineOutput) * 0x1p-32f;
    return -1.0f + 2.0f * unit;
}

ParticlePool::ParticlePool(std::uint32_t maxParticles, float spawnRate, std::uint32_t seed)
    : pool(maxParticles), rate(spawnRate), engine(seed), staging(2 * static_cast<std::size_t>(maxParticles))
{
}

void ParticlePool::clear()
{
    for (Particle& particle : pool)
        particle.life = 0.0f;
    accumulator = 0.0f;
    alive = 0;
}

float ParticlePool::nextSample()
{
    return signedUnitSample(static_cast<std::uint32_t>(engine()));
}

std::uint32_t ParticlePool::findUnusedParticle() const
{
    for (std::size_t i = 0; i < pool.size(); ++i) {
        if (pool[i].life <= 0.0f)
            return static_cast<std::uint32_t>(i);
    }
    return 0;
}

void ParticlePool::respawnParticle(Particle& particle, const glm::vec3& origin)
{
    float u[7];
    for (float& sample : u)
        sample = nextSample();
    particle.position = origin + particleSpawnHalfSize * glm::vec3(u[2], u[1], u[0]);
    const glm::vec3 direction(u[5], u[4] - 1.0f, u[3]);
    const float speed = particleBaseSpeed + particleSpeedSpread * u[6];
    // The direction is zero only when three samples hit exact values;
    // straight down keeps the velocity finite then.
    particle.velocity = glm::dot(direction, direction) > 0.0f ? glm::normalize(direction) * speed
                                                              : glm::vec3(0.0f, -speed, 0.0f);
    particle.color = glm::vec4(1.0f);
    particle.life = particleLifetime;
}

std::uint32_t ParticlePool::step(float deltaTime, const glm::vec3& origin)
{
    accumulator += deltaTime * rate;
    if (accumulator >= 1.0f) {
        const float whole = std::floor(accumulator);
        accumulator -= whole;
        // Beyond the pool's size every further particle would only rewrite
        // slot 0 again; the cap also keeps the count inside an integer and
        // leaves an empty pool without emissions.
        const double capped = std::min(static_cast<double>(whole), static_cast<double>(pool.size()));
        const auto count = static_cast<std::uint32_t>(capped);
        for (std::uint32_t n = 0; n < count; ++n)
            respawnParticle(pool[findUnusedParticle()], origin);
    }

    alive = 0;
    for (Particle& particle : pool) {
        if (particle.life <= 0.0f)
            continue;
        particle.life -= deltaTime;
        if (particle.life <= 0.0f) {
            particle.life = 0.0f;
            continue;
        }
        particle.color.a = particle.life / particleLifetime;
        particle.position += particle.velocity * deltaTime;
        staging[2 * static_cast<std::size_t>(alive)] = glm::vec4(particle.position, particle.life);
        staging[2 * static_cast<std::size_t>(alive) + 1] = particle.color;
        ++alive;
    }
    return alive;
}
