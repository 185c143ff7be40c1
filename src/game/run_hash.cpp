// FNV-1a over the bytes of the run's state; floats by their bit patterns.
#include "game/run_hash.h"

#include "game/fnv1a.h"
#include "game/particle_pool.h"
#include "game/simulation.h"

#include <cstdio>

std::uint64_t runHash(const Simulation& simulation, const ParticlePool& particles)
{
    Fnv1a hash;
    const GameState& state = simulation.state;
    hash.add(state.fairyPosition);
    hash.add(state.fairyPower);
    hash.add(state.falling);
    hash.add(state.totalPassed);
    for (bool passed : state.ringPassed)
        hash.add(passed);
    hash.add(state.cameraYaw);
    hash.add(state.cameraPitch);
    hash.add(simulation.freeCamera.position);
    hash.add(simulation.freeCamera.yaw);
    hash.add(simulation.freeCamera.pitch);
    hash.add(simulation.runTime);
    hash.add(particles.aliveCount());
    for (const Particle& particle : particles.particles()) {
        hash.add(particle.position);
        hash.add(particle.velocity);
        hash.add(particle.color);
        hash.add(particle.life);
    }
    return hash.value();
}

std::string hashText(std::uint64_t hash)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}
