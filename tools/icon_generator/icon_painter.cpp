// Drawn in icon units from -1 to 1 across, y pointing down, and
// supersampled, so every size shows the same picture with smooth edges.
// Only the basic float operations and square roots are used (no sin, exp or
// atan from the C library), so every machine draws the same pixels.
#include "icon_painter.h"

#include "texture_generator/noise.h"

#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

struct Vec {
    float x = 0.0f;
    float y = 0.0f;
};

float lengthOf(Vec v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}

Vec minus(Vec a, Vec b)
{
    return {a.x - b.x, a.y - b.y};
}

Color add(const Color& a, const Color& b)
{
    return {a.r + b.r, a.g + b.g, a.b + b.b, a.a};
}

Color times(const Color& a, const Color& b)
{
    return {a.r * b.r, a.g * b.g, a.b * b.b, a.a};
}

// 1 at distance 0, falling smoothly to 0 at `radius`.
float glowAt(float distance, float radius)
{
    const float t = clamp01(1.0f - distance / radius);
    return t * t * t;
}

// The angle of `v` in turns, 0 to 1, from a polynomial good to 1e-5 radians.
float turnsOf(Vec v)
{
    const float ax = std::fabs(v.x), ay = std::fabs(v.y);
    const float larger = ax > ay ? ax : ay;
    if (larger == 0.0f)
        return 0.0f;
    const float z = (ax > ay ? ay : ax) / larger;
    const float z2 = z * z;
    float angle = z * (0.9998660f + z2 * (-0.3302995f + z2 * (0.1801410f + z2 * (-0.0851330f + z2 * 0.0208351f))));
    if (ay > ax)
        angle = 0.5f * pi - angle;
    if (v.x < 0.0f)
        angle = pi - angle;
    if (v.y < 0.0f)
        angle = 2.0f * pi - angle;
    return angle / (2.0f * pi);
}

const float iconRadius = 0.96f;
const Vec fairyCentre{0.0f, -0.03f};
const Color fairyLight{0.78f, 0.66f, 1.0f, 1.0f};

// The well seen from above: courses of blue stone in dark mortar around the
// water, darker with depth, lit by the fairy.
Color wellAt(Vec p)
{
    const float r = lengthOf(p);
    const float waterEdge = 0.34f;
    const float rimStart = 0.90f;
    Color colour;
    if (r < waterEdge) {
        colour = {0.05f, 0.09f, 0.26f, 1.0f};
    } else if (r >= rimStart) {
        colour = {0.15f, 0.16f, 0.31f, 1.0f};
    } else {
        const float courseWidth = 0.14f;
        const float along = (r - waterEdge) / courseWidth;
        const int course = floorToInt(along);
        const int stones = 10 + 4 * course;
        const float around = turnsOf(p) * static_cast<float>(stones) + (course % 2 ? 0.5f : 0.0f);
        const int stone = floorToInt(around);
        const float acrossCourse = along - static_cast<float>(course);
        const float alongStone = around - static_cast<float>(stone);
        const float radialGap = std::fmin(acrossCourse, 1.0f - acrossCourse) * courseWidth;
        const float arcGap = std::fmin(alongStone, 1.0f - alongStone) * 2.0f * pi * r / static_cast<float>(stones);
        const float mortar = 1.0f - smoothStep(0.006f, 0.018f, std::fmin(radialGap, arcGap));
        const float tone = 0.8f + 0.4f * hashUnit(wrapInt(stone, stones), course, 0, 7u);
        const Color stoneColour = scaled({0.30f, 0.32f, 0.58f, 1.0f}, tone);
        colour = mix(stoneColour, {0.08f, 0.08f, 0.17f, 1.0f}, mortar);
        colour = scaled(colour, 0.45f + 0.55f * smoothStep(waterEdge, rimStart, r));
    }
    const float light = 1.8f * glowAt(lengthOf(minus(p, fairyCentre)), 0.85f);
    return add(colour, scaled(times(colour, fairyLight), light));
}

// The golden ring the fairy flies through, a flat ellipse seen from above
// and in front; `coverage` is 0 off the ring.
struct RingSample {
    float coverage = 0.0f;
    Color colour;
};

const Vec ringCentre{0.0f, 0.05f};

RingSample ringAt(Vec p)
{
    const float a = 0.60f, b = 0.25f, tube = 0.085f;
    const Vec q = minus(p, ringCentre);
    const float level = std::sqrt((q.x * q.x) / (a * a) + (q.y * q.y) / (b * b));
    if (level < 0.05f)
        return {};
    // The level's distance from 1 over its slope: the distance to the ellipse.
    const float slopeX = q.x / (a * a * level), slopeY = q.y / (b * b * level);
    const float distance = (level - 1.0f) / std::sqrt(slopeX * slopeX + slopeY * slopeY);
    const float across = distance / tube;
    if (std::fabs(across) >= 1.0f)
        return {};
    const float height = std::sqrt(1.0f - across * across);
    const float shine = height * height * height * height * height * height * height * height;
    const Color gold{0.80f, 0.56f, 0.17f, 1.0f};
    return {1.0f, add(scaled(gold, 0.25f + 0.75f * height), scaled({1.0f, 0.95f, 0.7f, 1.0f}, 0.35f * shine))};
}

// A wing: an ellipse reaching up and out from the fairy at 30 degrees.
bool onWing(Vec p, float side, float& edge)
{
    const Vec centre{fairyCentre.x + side * 0.18f, fairyCentre.y - 0.12f};
    const Vec q = minus(p, centre);
    const float cosine = 0.8660254f, sine = 0.5f;
    const float u = side * q.x * cosine - q.y * sine;
    const float v = side * q.x * sine + q.y * cosine;
    edge = (u * u) / (0.19f * 0.19f) + (v * v) / (0.10f * 0.10f);
    return edge < 1.0f;
}

struct Spark {
    Vec at;
    float radius = 0.0f;
};

const Spark sparks[] = {
    {{-0.05f, 0.19f}, 0.030f}, {{0.06f, 0.28f}, 0.026f},  {{-0.04f, 0.38f}, 0.022f},
    {{0.07f, 0.46f}, 0.019f},  {{-0.06f, 0.56f}, 0.016f}, {{0.03f, 0.64f}, 0.014f},
};

Color sample(Vec p)
{
    Color colour = wellAt(p);
    const RingSample ring = ringAt(p);
    const bool ringInFront = p.y >= ringCentre.y;
    if (ring.coverage > 0.0f && !ringInFront)
        colour = ring.colour;
    for (const float side : {-1.0f, 1.0f}) {
        float edge = 0.0f;
        if (onWing(p, side, edge))
            colour = mix(colour, mix({0.94f, 0.90f, 1.0f, 1.0f}, {0.72f, 0.62f, 0.98f, 1.0f}, edge), 0.9f);
    }
    const float fromFairy = lengthOf(minus(p, fairyCentre));
    const float bodyRadius = 0.11f;
    if (fromFairy < bodyRadius)
        colour = mix({1.0f, 1.0f, 1.0f, 1.0f}, {0.80f, 0.90f, 1.0f, 1.0f}, fromFairy / bodyRadius);
    colour = add(colour, scaled(fairyLight, 0.9f * glowAt(fromFairy, 0.42f)));
    if (ring.coverage > 0.0f && ringInFront)
        colour = ring.colour;
    for (const Spark& spark : sparks) {
        const float distance = lengthOf(minus(p, spark.at));
        const Color gold{1.0f, 0.86f, 0.42f, 1.0f};
        colour = distance < spark.radius ? gold : add(colour, scaled(gold, 0.8f * glowAt(distance, 3.0f * spark.radius)));
    }
    return colour;
}

}  // namespace

RgbaImage paintIcon(int size)
{
    const int perAxis = 5;  // samples per pixel along each axis
    RgbaImage image;
    image.width = size;
    image.height = size;
    image.pixels.reserve(static_cast<size_t>(size) * static_cast<size_t>(size) * 4);
    const float step = 2.0f / static_cast<float>(size * perAxis);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Color sum{0.0f, 0.0f, 0.0f, 0.0f};
            for (int sy = 0; sy < perAxis; ++sy) {
                for (int sx = 0; sx < perAxis; ++sx) {
                    const Vec p{-1.0f + (static_cast<float>(x * perAxis + sx) + 0.5f) * step,
                                -1.0f + (static_cast<float>(y * perAxis + sy) + 0.5f) * step};
                    if (lengthOf(p) >= iconRadius)
                        continue;  // transparent around the disc
                    const Color c = sample(p);
                    sum = {sum.r + clamp01(c.r), sum.g + clamp01(c.g), sum.b + clamp01(c.b), sum.a + 1.0f};
                }
            }
            const float covered = sum.a > 0.0f ? sum.a : 1.0f;
            image.pixels.push_back(toByte(sum.r / covered));
            image.pixels.push_back(toByte(sum.g / covered));
            image.pixels.push_back(toByte(sum.b / covered));
            image.pixels.push_back(toByte(sum.a / static_cast<float>(perAxis * perAxis)));
        }
    }
    return image;
}
