#include "noise.h"

#include <initializer_list>

namespace {

float smootherStep(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

}  // namespace

int32_t floorToInt(float value)
{
    const int32_t truncated = static_cast<int32_t>(value);
    return static_cast<float>(truncated) > value ? truncated - 1 : truncated;
}

float wrapFloat(float value, float period)
{
    const float wrapped = value - period * static_cast<float>(floorToInt(value / period));
    return wrapped >= period ? wrapped - period : (wrapped < 0.0f ? wrapped + period : wrapped);
}

int32_t wrapInt(int32_t value, int32_t period)
{
    const int32_t r = value % period;
    return r < 0 ? r + period : r;
}

uint32_t hash32(int32_t x, int32_t y, int32_t z, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B9u;
    for (const int32_t part : {x, y, z}) {
        h ^= static_cast<uint32_t>(part) + 0x7F4A7C15u + (h << 6) + (h >> 2);
        h ^= h >> 16;
        h *= 0x7FEB352Du;
        h ^= h >> 15;
        h *= 0x846CA68Bu;
        h ^= h >> 16;
    }
    return h;
}

float hashUnit(int32_t x, int32_t y, int32_t z, uint32_t seed)
{
    return static_cast<float>(hash32(x, y, z, seed) >> 8) * (1.0f / 16777216.0f);
}

float valueNoise(float x, float y, int32_t periodX, int32_t periodY, uint32_t seed)
{
    const int32_t x0 = floorToInt(x);
    const int32_t y0 = floorToInt(y);
    const float tx = smootherStep(x - static_cast<float>(x0));
    const float ty = smootherStep(y - static_cast<float>(y0));
    const int32_t xa = wrapInt(x0, periodX), xb = wrapInt(x0 + 1, periodX);
    const int32_t ya = wrapInt(y0, periodY), yb = wrapInt(y0 + 1, periodY);
    const float a = hashUnit(xa, ya, 0, seed), b = hashUnit(xb, ya, 0, seed);
    const float c = hashUnit(xa, yb, 0, seed), d = hashUnit(xb, yb, 0, seed);
    const float top = a + (b - a) * tx;
    const float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float tiledFbm(float u, float v, int32_t cellsX, int32_t cellsY, int octaves, float gain, uint32_t seed)
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        const uint32_t layerSeed = seed + static_cast<uint32_t>(octave) * 101u;
        sum += weight * valueNoise(u * static_cast<float>(cellsX), v * static_cast<float>(cellsY), cellsX,
                                   cellsY, layerSeed);
        total += weight;
        weight *= gain;
        cellsX *= 2;
        cellsY *= 2;
    }
    return sum / total;
}

uint32_t Random::next()
{
    return hash32(static_cast<int32_t>(counter++), 0, 0, state);
}

float Random::unit()
{
    return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f);
}

float Random::range(float low, float high)
{
    return low + (high - low) * unit();
}

int Random::index(int count)
{
    return static_cast<int>(next() % static_cast<uint32_t>(count));
}
