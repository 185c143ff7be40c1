// The few building blocks the sounds are made of: a seeded noise source,
// a one-pole low-pass filter and smooth envelopes. Seconds and hertz; every
// sound is mono at soundRate samples per second.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int soundRate = 22050;
inline constexpr double pi = 3.14159265358979323846;

using Samples = std::vector<double>;

int samplesIn(double seconds);

// Uniform noise in [-1, 1) from a fixed seed: the same sounds on every machine.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    double next();

private:
    std::uint32_t state_;
};

// A first-order low-pass whose corner may move from sample to sample.
class LowPass {
public:
    double step(double input, double cornerHz);
    double value() const { return value_; }

private:
    double value_ = 0.0;
};

// 0 at the start, 1 after `attack` seconds, falling by e every `decay` seconds.
double strike(double t, double attack, double decay);

// A raised-cosine bump over [start, start + length): 0 at both ends.
double bump(double t, double start, double length);

// Fades the last `seconds` to silence, so a single sound ends on 0.
void fadeOut(Samples& sound, double seconds);

// Scales the sound so its loudest sample is `peak` (below 1).
void normalise(Samples& sound, double peak);
