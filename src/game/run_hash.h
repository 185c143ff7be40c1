// A fingerprint of the state of a run: every value a replay must reproduce
// (the fairy, its power, the rings, both cameras, the run's time and every
// spark of the trail), hashed bit for bit, so two runs agree only if they
// played out exactly alike.
#pragma once

#include <cstdint>
#include <string>

struct Simulation;
class ParticlePool;

std::uint64_t runHash(const Simulation& simulation, const ParticlePool& particles);

// Sixteen lower-case hexadecimal digits.
std::string hashText(std::uint64_t hash);
