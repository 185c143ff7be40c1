// The generator's working picture: 8-bit RGBA pixels, top row first, and
// the float colour the painters compute before it is quantised.
#pragma once

#include <cstdint>
#include <vector>

struct Color {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
};

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width * height * 4 bytes
};

inline float clamp01(float value)
{
    return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
}

inline float mix(float a, float b, float t)
{
    return a + (b - a) * t;
}

inline Color mix(const Color& a, const Color& b, float t)
{
    return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t), mix(a.a, b.a, t)};
}

inline Color scaled(const Color& c, float factor)
{
    return {c.r * factor, c.g * factor, c.b * factor, c.a};
}

inline float smoothStep(float edge0, float edge1, float x)
{
    const float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

inline uint8_t toByte(float value)
{
    return static_cast<uint8_t>(clamp01(value) * 255.0f + 0.5f);
}
