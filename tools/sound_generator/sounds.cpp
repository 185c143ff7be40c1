#include "sounds.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double c5 = 523.25;
constexpr double e5 = 659.26;
constexpr double g5 = 783.99;
constexpr double c6 = 1046.50;

double seconds(int sample)
{
    return static_cast<double>(sample) / soundRate;
}

double sine(double hz, double t)
{
    return std::sin(2.0 * pi * hz * t);
}

// A brass-like note: harmonics falling as 1/k, a soft attack and release.
double brass(double hz, double t, double length)
{
    if (t < 0.0 || t >= length)
        return 0.0;
    double sum = 0.0;
    for (int k = 1; k <= 6; ++k)
        sum += sine(hz * k, t) / k;
    const double attack = std::min(t / 0.015, 1.0);
    const double release = std::min((length - t) / 0.04, 1.0);
    return sum * attack * release;
}

// A loop whose filters run twice over the same input and keep the second
// pass: its end then leads into its start without a click.
template <typename Render>
Samples loopTwice(int length, Render render)
{
    Samples sound(static_cast<std::size_t>(length));
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < length; ++i) {
            const double value = render(i);
            if (pass == 1)
                sound[static_cast<std::size_t>(i)] = value;
        }
    }
    return sound;
}

Samples noiseOf(int length, std::uint32_t seed)
{
    Noise noise(seed);
    Samples values(static_cast<std::size_t>(length));
    for (double& value : values)
        value = noise.next();
    return values;
}

}  // namespace

Samples chime()
{
    struct Partial {
        double ratio, level, decay;
    };
    // Slightly inharmonic upper partials give the bell its shimmer; the
    // fundamental stays the loudest, so the pitch is heard where it is meant.
    const Partial partials[] = {{1.0, 1.0, 0.30}, {2.0, 0.35, 0.18}, {3.0, 0.12, 0.10}, {4.16, 0.06, 0.06}};
    Samples sound(static_cast<std::size_t>(samplesIn(0.9)));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = seconds(static_cast<int>(i));
        for (const Partial& p : partials)
            sound[i] += p.level * strike(t, 0.004, p.decay) * sine(c5 * p.ratio, t);
    }
    fadeOut(sound, 0.05);
    normalise(sound, 0.8);
    return sound;
}

Samples lowPower()
{
    Samples sound(static_cast<std::size_t>(samplesIn(0.55)));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = seconds(static_cast<int>(i));
        const double high = bump(t, 0.0, 0.22) * (sine(587.33, t) + 0.2 * sine(2.0 * 587.33, t));
        const double low = bump(t, 0.28, 0.26) * (sine(440.0, t) + 0.2 * sine(880.0, t));
        sound[i] = high + low;
    }
    normalise(sound, 0.5);
    return sound;
}

Samples powerOut()
{
    const double length = 1.1;
    Samples sound(static_cast<std::size_t>(samplesIn(length)));
    double phase = 0.0;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = seconds(static_cast<int>(i));
        const double hz = 880.0 * std::pow(110.0 / 880.0, t / length) * (1.0 + 0.02 * sine(6.0, t));
        phase += 2.0 * pi * hz / soundRate;
        sound[i] = std::min(t / 0.01, 1.0) * (std::sin(phase) + 0.3 * std::sin(2.0 * phase));
    }
    fadeOut(sound, 0.3);
    normalise(sound, 0.6);
    return sound;
}

Samples splash()
{
    Samples sound(static_cast<std::size_t>(samplesIn(0.9)));
    Noise noise(0x5eed5a1u);
    LowPass water;
    const double bubbles[] = {0.12, 0.25, 0.41};
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = seconds(static_cast<int>(i));
        const double corner = 400.0 + 5600.0 * std::exp(-t / 0.12);
        double value = water.step(noise.next(), corner) * strike(t, 0.003, 0.18);
        for (double start : bubbles) {
            const double u = t - start;
            if (u >= 0.0 && u < 0.04)
                value += 0.15 * bump(u, 0.0, 0.04) * std::sin(2.0 * pi * (400.0 * u + 6250.0 * u * u));
        }
        sound[i] = value;
    }
    fadeOut(sound, 0.1);
    normalise(sound, 0.7);
    return sound;
}

Samples fanfare()
{
    struct Note {
        double hz, start, length, level;
    };
    const Note notes[] = {{c5, 0.0, 0.14, 1.0},  {e5, 0.13, 0.14, 1.0}, {g5, 0.26, 0.14, 1.0},
                          {c6, 0.39, 0.85, 1.0}, {g5, 0.39, 0.85, 0.5}, {e5, 0.39, 0.85, 0.4}};
    Samples sound(static_cast<std::size_t>(samplesIn(1.3)));
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = seconds(static_cast<int>(i));
        for (const Note& note : notes)
            sound[i] += note.level * brass(note.hz * (1.0 + 0.004 * sine(5.5, t)), t - note.start, note.length);
    }
    fadeOut(sound, 0.05);
    normalise(sound, 0.7);
    return sound;
}

Samples wingsLoop()
{
    const int length = samplesIn(0.5);
    const double beatsPerSecond = 16.0;  // eight beats fill the loop exactly
    const Samples noise = noiseOf(length, 0x3a11f1u);
    LowPass upper;
    LowPass lower;
    Samples sound = loopTwice(length, [&](int i) {
        const double t = seconds(i);
        const double air = noise[static_cast<std::size_t>(i)];
        const double band = upper.step(air, 1500.0) - lower.step(air, 300.0);
        const double beat = std::pow(std::sin(pi * beatsPerSecond * t), 4.0);
        return band * beat;
    });
    normalise(sound, 0.5);
    return sound;
}

Samples wellLoop()
{
    const double length = 3.0;
    const int count = samplesIn(length);
    const int echoDelay = samplesIn(0.19);
    const Samples noise = noiseOf(count, 0xdee9e11u);
    LowPass wind;
    LowPass echoTone;
    Samples echo(static_cast<std::size_t>(echoDelay), 0.0);  // a ring buffer of what the shaft sends back
    std::size_t echoAt = 0;  // runs on across both passes, so the delay has no seam
    const double drips[] = {0.7, 2.1};
    Samples sound = loopTwice(count, [&](int i) {
        const double t = seconds(i);
        // Slow swells whose periods divide the loop, so they join too.
        const double corner = 420.0 + 180.0 * sine(1.0 / length, t);
        const double swell = 0.6 + 0.4 * sine(2.0 / length, t + 0.3);
        double value = 2.5 * wind.step(noise[static_cast<std::size_t>(i)], corner) * swell;
        for (double start : drips) {
            const double u = t - start;
            if (u >= 0.0 && u < 0.3)
                value += 0.5 * strike(u, 0.002, 0.04) * std::sin(2.0 * pi * (1400.0 * u - 1800.0 * u * u));
        }
        double& back = echo[echoAt];
        echoAt = (echoAt + 1) % echo.size();
        const double out = value + back;
        back = echoTone.step(out, 2500.0) * 0.45;
        return out;
    });
    normalise(sound, 0.3);
    return sound;
}
