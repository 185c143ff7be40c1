// Deterministic, tileable noise for the texture generator. Only integer
// hashing and the four basic float operations are used, so every build on
// every machine draws the same pixels.
#pragma once

#include <cstdint>

// A well-mixed 32-bit hash of up to three integers and a seed.
uint32_t hash32(int32_t x, int32_t y, int32_t z, uint32_t seed);

// Uniform in [0, 1) from the hash.
float hashUnit(int32_t x, int32_t y, int32_t z, uint32_t seed);

// Smooth value noise in [0, 1] at (x, y), repeating every `periodX` lattice
// cells across and `periodY` cells down.
float valueNoise(float x, float y, int32_t periodX, int32_t periodY, uint32_t seed);

// Sum of `octaves` value-noise layers, each twice as fine and `gain` times
// as strong as the last, normalised to [0, 1]. `u`, `v` in texture units
// [0, 1); the first layer has `cellsX` by `cellsY` cells, so the result
// tiles at the texture's edges.
float tiledFbm(float u, float v, int32_t cellsX, int32_t cellsY, int octaves, float gain, uint32_t seed);

// Largest integer not above `value`, without the C library.
int32_t floorToInt(float value);

// `value` moved into [0, period).
float wrapFloat(float value, float period);
int32_t wrapInt(int32_t value, int32_t period);

// Deterministic stream of numbers for layouts (stone sizes, speck places).
class Random {
public:
    explicit Random(uint32_t seed) : state(seed) {}
    uint32_t next();
    float unit();                       // [0, 1)
    float range(float low, float high); // [low, high)
    int index(int count);               // [0, count)

private:
    uint32_t state;
    uint32_t counter = 0;
};
