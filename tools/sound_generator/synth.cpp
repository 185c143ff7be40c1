#include "synth.h"

#include <algorithm>
#include <cmath>

int samplesIn(double seconds)
{
    return static_cast<int>(std::lround(seconds * soundRate));
}

double Noise::next()
{
    // xorshift32: defined bit for bit, unlike the standard distributions.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
}

double LowPass::step(double input, double cornerHz)
{
    const double k = 1.0 - std::exp(-2.0 * pi * cornerHz / soundRate);
    value_ += k * (input - value_);
    return value_;
}

double strike(double t, double attack, double decay)
{
    if (t < 0.0)
        return 0.0;
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / decay);
}

double bump(double t, double start, double length)
{
    const double x = (t - start) / length;
    if (x <= 0.0 || x >= 1.0)
        return 0.0;
    return 0.5 - 0.5 * std::cos(2.0 * pi * x);
}

void fadeOut(Samples& sound, double seconds)
{
    const int length = std::min(samplesIn(seconds), static_cast<int>(sound.size()));
    const std::size_t first = sound.size() - static_cast<std::size_t>(length);
    for (int i = 0; i < length; ++i)
        sound[first + static_cast<std::size_t>(i)] *= 1.0 - static_cast<double>(i + 1) / length;
}

void normalise(Samples& sound, double peak)
{
    double loudest = 0.0;
    for (double sample : sound)
        loudest = std::max(loudest, std::abs(sample));
    if (loudest > 0.0) {
        for (double& sample : sound)
            sample *= peak / loudest;
    }
}
