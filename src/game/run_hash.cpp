// FNV-1a over the bytes of the run's state; floats by their bit patterns.
#include "game/run_hash.h"

#include "game/particle_pool.h"
#include "game/simulation.h"

#include <cstdio>
#include <cstring>

namespace {

class Fnv1a {
public:
    void add(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash_ ^= bytes[i];
            hash_ *= 0x100000001b3ull;
        }
    }
    template <typename Value>
    void add(const Value& value)
    {
        add(&value, sizeof value);
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

}  // namespace

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
