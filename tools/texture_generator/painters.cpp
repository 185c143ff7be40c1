#include "painters.h"

#include "noise.h"

#include <cmath>
#include <vector>

namespace {

template <typename Painter>
RgbaImage paint(int size, Painter painter)
{
    RgbaImage image;
    image.width = size;
    image.height = size;
    image.pixels.resize(static_cast<size_t>(size) * static_cast<size_t>(size) * 4);
    size_t at = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Color c = painter(x, y);
            image.pixels[at++] = toByte(c.r);
            image.pixels[at++] = toByte(c.g);
            image.pixels[at++] = toByte(c.b);
            image.pixels[at++] = toByte(c.a);
        }
    }
    return image;
}

float textureCoordinate(int pixel, int size)
{
    return (static_cast<float>(pixel) + 0.5f) / static_cast<float>(size);
}

struct Speck {
    float strength = 0.0f;  // 1 at a speck's centre, 0 away from all specks
    float tone = 0.0f;      // the speck's own random number
};

// Round specks scattered over a grid of `cell`-pixel cells, at most one per
// cell and present with probability `density`; wraps at the image edges.
Speck specks(int x, int y, int size, int cell, float density, float minRadius, float maxRadius, uint32_t seed)
{
    const int cells = size / cell;
    const int cx = x / cell;
    const int cy = y / cell;
    Speck best;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int i = wrapInt(cx + dx, cells);
            const int j = wrapInt(cy + dy, cells);
            if (hashUnit(i, j, 0, seed) >= density)
                continue;
            const float px = static_cast<float>((cx + dx) * cell) + hashUnit(i, j, 1, seed) * static_cast<float>(cell);
            const float py = static_cast<float>((cy + dy) * cell) + hashUnit(i, j, 2, seed) * static_cast<float>(cell);
            const float radius = mix(minRadius, maxRadius, hashUnit(i, j, 3, seed));
            const float ox = static_cast<float>(x) + 0.5f - px;
            const float oy = static_cast<float>(y) + 0.5f - py;
            const float falloff = clamp01(1.0f - std::sqrt(ox * ox + oy * oy) / radius);
            const float strength = falloff * falloff * (3.0f - 2.0f * falloff);
            if (strength > best.strength)
                best = {strength, hashUnit(i, j, 4, seed)};
        }
    }
    return best;
}

// ---- stone wall ----------------------------------------------------------

struct StoneRow {
    float top = 0.0f;
    float bottom = 0.0f;
    float offset = 0.0f;       // where the row's first stone starts
    std::vector<float> edges;  // stone boundaries from 0 to the image width
};

std::vector<StoneRow> layStones(float size, uint32_t seed)
{
    Random random(seed);
    constexpr int rowCount = 5;
    std::vector<float> heights(rowCount);
    float totalHeight = 0.0f;
    for (float& height : heights) {
        height = random.range(0.8f, 1.2f);
        totalHeight += height;
    }
    std::vector<StoneRow> rows(rowCount);
    float top = 0.0f;
    for (int r = 0; r < rowCount; ++r) {
        StoneRow& row = rows[static_cast<size_t>(r)];
        row.top = top;
        top += heights[static_cast<size_t>(r)] / totalHeight * size;
        row.bottom = r + 1 == rowCount ? size : top;
        row.offset = random.range(0.0f, size);
        // The wall stretches the texture about 1.6 times across, so three to
        // five stones per row look like long blocks on screen.
        const int stones = 3 + random.index(3);
        std::vector<float> widths(static_cast<size_t>(stones));
        float totalWidth = 0.0f;
        for (float& width : widths) {
            width = random.range(0.65f, 1.35f);
            totalWidth += width;
        }
        float edge = 0.0f;
        row.edges.push_back(0.0f);
        for (int s = 0; s + 1 < stones; ++s) {
            edge += widths[static_cast<size_t>(s)] / totalWidth * size;
            row.edges.push_back(edge);
        }
        row.edges.push_back(size);
    }
    return rows;
}

struct WallSample {
    int stone = -1;           // -1 for mortar
    float distance = 0.0f;    // to the stone's outline; negative inside
};

WallSample sampleWall(const std::vector<StoneRow>& rows, float x, float y, float size, float roughness)
{
    constexpr float mortarHalfWidth = 5.0f;
    constexpr float cornerRadius = 12.0f;
    size_t r = 0;
    while (r + 1 < rows.size() && y >= rows[r].bottom)
        ++r;
    const StoneRow& row = rows[r];
    const float local = wrapFloat(x - row.offset, size);
    size_t s = 0;
    while (s + 2 < row.edges.size() && local >= row.edges[s + 1])
        ++s;
    const float halfWidth = (row.edges[s + 1] - row.edges[s]) * 0.5f;
    const float halfHeight = (row.bottom - row.top) * 0.5f;
    const float centreX = row.edges[s] + halfWidth;
    const float centreY = row.top + halfHeight;
    const float inset = mortarHalfWidth + cornerRadius;
    const float px = std::fabs(local - centreX) - (halfWidth - inset);
    const float py = std::fabs(y - centreY) - (halfHeight - inset);
    const float ox = px > 0.0f ? px : 0.0f;
    const float oy = py > 0.0f ? py : 0.0f;
    const float inside = px > py ? (px < 0.0f ? px : 0.0f) : (py < 0.0f ? py : 0.0f);
    const float distance = std::sqrt(ox * ox + oy * oy) + inside - cornerRadius + roughness;
    WallSample sample;
    sample.distance = distance;
    if (distance < 0.0f)
        sample.stone = static_cast<int>(r * 16 + s);
    return sample;
}

Color stoneColor(int stone, uint32_t seed)
{
    const Color palette[] = {
        {0.50f, 0.49f, 0.47f},  // grey
        {0.52f, 0.46f, 0.40f},  // warm brown-grey
        {0.44f, 0.45f, 0.47f},  // cool grey
        {0.58f, 0.53f, 0.45f},  // sandstone
        {0.38f, 0.37f, 0.36f},  // dark slate
    };
    const int first = static_cast<int>(hash32(stone, 0, 0, seed) % 5);
    const int second = static_cast<int>(hash32(stone, 1, 0, seed) % 5);
    const Color base = mix(palette[first], palette[second], hashUnit(stone, 2, 0, seed) * 0.6f);
    return scaled(base, mix(0.82f, 1.15f, hashUnit(stone, 3, 0, seed)));
}

}  // namespace

RgbaImage paintLightBlue(int size)
{
    const Color deep{0.60f, 0.75f, 0.93f};
    const Color pale{0.80f, 0.89f, 0.99f};
    return paint(size, [&](int x, int y) {
        const float u = textureCoordinate(x, size);
        const float v = textureCoordinate(y, size);
        const float cloudiness = tiledFbm(u, v, 4, 4, 5, 0.55f, 11u);
        const float grain = tiledFbm(u, v, 32, 32, 2, 0.5f, 12u);
        Color c = mix(deep, pale, smoothStep(0.25f, 0.75f, cloudiness));
        c = scaled(c, 0.97f + 0.06f * grain);
        const Speck sparkle = specks(x, y, size, 16, 0.35f, 1.0f, 2.2f, 13u);
        return mix(c, Color{0.96f, 0.99f, 1.0f}, sparkle.strength * (0.5f + 0.5f * sparkle.tone));
    });
}

RgbaImage paintGlitterYellow(int size)
{
    const Color amber{0.70f, 0.46f, 0.08f};
    const Color gold{1.00f, 0.82f, 0.30f};
    return paint(size, [&](int x, int y) {
        const float u = textureCoordinate(x, size);
        const float v = textureCoordinate(y, size);
        const float sheen = tiledFbm(u, v, 4, 4, 5, 0.5f, 21u);
        Color c = mix(amber, gold, smoothStep(0.2f, 0.8f, sheen));
        const Speck glitter = specks(x, y, size, 4, 0.55f, 0.8f, 1.8f, 22u);
        if (glitter.tone < 0.7f)
            c = mix(c, Color{1.0f, 0.97f, 0.78f}, glitter.strength);
        else
            c = mix(c, Color{0.48f, 0.30f, 0.04f}, glitter.strength * 0.8f);
        const Speck flash = specks(x, y, size, 16, 0.4f, 1.5f, 2.8f, 23u);
        return mix(c, Color{1.0f, 1.0f, 0.95f}, flash.strength);
    });
}

RgbaImage paintWellWall(int size)
{
    constexpr uint32_t seed = 31u;
    const float extent = static_cast<float>(size);
    const std::vector<StoneRow> rows = layStones(extent, seed);
    const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
    std::vector<WallSample> samples(count);
    std::vector<float> height(count);

    // First pass: which stone, how far from its outline, and a height field
    // for the relief.
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = textureCoordinate(x, size);
            const float v = textureCoordinate(y, size);
            const float roughness = (tiledFbm(u, v, 16, 16, 3, 0.5f, seed + 1) - 0.5f) * 14.0f;
            const size_t at = static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x);
            const WallSample sample =
                sampleWall(rows, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, extent, roughness);
            samples[at] = sample;
            const float bumps = tiledFbm(u, v, 8, 8, 3, 0.5f, seed + 2);
            const float pits = tiledFbm(u, v, 48, 48, 3, 0.6f, seed + 9);
            if (sample.stone >= 0)
                height[at] = 0.6f + 0.4f * smoothStep(0.0f, 7.0f, -sample.distance) + (bumps - 0.5f) * 0.45f +
                             (pits - 0.5f) * 0.22f;
            else
                height[at] = 0.15f - 0.08f * smoothStep(0.0f, 6.0f, sample.distance) + (pits - 0.5f) * 0.2f;
        }
    }

    const auto heightAt = [&](int x, int y) {
        return height[static_cast<size_t>(wrapInt(y, size)) * static_cast<size_t>(size) +
                      static_cast<size_t>(wrapInt(x, size))];
    };
    // Light from the upper left, as a lamp above the well would give.
    const float lx = -0.45f, ly = -0.55f, lz = 0.70f;
    const float lightLength = std::sqrt(lx * lx + ly * ly + lz * lz);
    const float flatLight = lz / lightLength;

    return paint(size, [&](int x, int y) {
        const float u = textureCoordinate(x, size);
        const float v = textureCoordinate(y, size);
        const WallSample& sample = samples[static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x)];

        const float gx = (heightAt(x + 1, y) - heightAt(x - 1, y)) * 4.0f;
        const float gy = (heightAt(x, y + 1) - heightAt(x, y - 1)) * 4.0f;
        const float normalLength = std::sqrt(gx * gx + gy * gy + 1.0f);
        const float lambert = (-gx * lx - gy * ly + lz) / (normalLength * lightLength);
        const float relief = 0.55f + 0.45f * clamp01(lambert / flatLight);

        const float damp = smoothStep(0.55f, 0.8f, tiledFbm(u, v, 3, 3, 4, 0.5f, seed + 3));
        const float streaks = tiledFbm(u + 0.05f * tiledFbm(u, v, 4, 4, 2, 0.5f, seed + 10), v, 16, 3, 3, 0.5f,
                                       seed + 4);
        const float grain = tiledFbm(u, v, 64, 64, 2, 0.5f, seed + 5);
        const Color moss{0.27f, 0.33f, 0.20f};

        Color c;
        if (sample.stone >= 0) {
            c = stoneColor(sample.stone, seed + 6);
            const float mottling = tiledFbm(u, v, 6, 6, 5, 0.55f, seed + 7);
            c = scaled(c, 0.78f + 0.4f * mottling);
            c = scaled(c, 0.94f + 0.12f * grain);
            c = scaled(c, 1.0f - 0.1f * smoothStep(0.5f, 0.8f, streaks));
            const Speck fleck = specks(x, y, size, 6, 0.5f, 0.7f, 1.6f, seed + 8);
            c = scaled(c, 1.0f + (fleck.tone < 0.5f ? -0.25f : 0.18f) * fleck.strength);
            // Worn edges sit in shadow.
            c = scaled(c, 0.84f + 0.16f * smoothStep(0.0f, 6.0f, -sample.distance));
            c = mix(c, moss, damp * 0.3f);
        } else {
            c = Color{0.30f, 0.28f, 0.25f};
            c = scaled(c, 0.7f + 0.5f * grain);
            const Speck sand = specks(x, y, size, 4, 0.5f, 0.6f, 1.2f, seed + 11);
            c = scaled(c, 1.0f + 0.3f * sand.strength * sand.tone);
            c = scaled(c, 0.9f - 0.2f * smoothStep(0.0f, 5.0f, sample.distance));
            c = mix(c, moss, damp * 0.45f);
        }
        return scaled(c, relief);
    });
}

RgbaImage paintLightPurple(int size)
{
    const Color lavender{0.66f, 0.52f, 0.86f};
    const Color pale{0.88f, 0.80f, 0.98f};
    const Color vein{0.52f, 0.36f, 0.74f};
    return paint(size, [&](int x, int y) {
        const float u = textureCoordinate(x, size);
        const float v = textureCoordinate(y, size);
        const float glow = tiledFbm(u, v, 3, 3, 5, 0.55f, 41u);
        Color c = mix(lavender, pale, smoothStep(0.3f, 0.72f, glow));
        // Fine veins along the length of the wing: ridges of a noise
        // stretched in v, bent a little by a second noise.
        const float warp = tiledFbm(u, v, 3, 3, 2, 0.5f, 42u);
        const float ridge = std::fabs(tiledFbm(u + 0.08f * warp, v, 7, 1, 3, 0.4f, 43u) - 0.5f);
        c = mix(c, vein, (1.0f - smoothStep(0.0f, 0.03f, ridge)) * 0.35f);
        const float shimmer = tiledFbm(u, v, 2, 2, 3, 0.5f, 44u);
        c = mix(c, Color{0.78f, 0.70f, 1.0f}, smoothStep(0.55f, 0.8f, shimmer) * 0.3f);
        c = mix(c, Color{0.95f, 0.72f, 0.92f}, smoothStep(0.6f, 0.85f, 1.0f - shimmer) * 0.2f);
        const Speck sparkle = specks(x, y, size, 16, 0.25f, 0.9f, 1.8f, 45u);
        return mix(c, Color{0.98f, 0.95f, 1.0f}, sparkle.strength * 0.7f);
    });
}

RgbaImage paintGreenCloth(int size)
{
    constexpr int thread = 4;  // pixels per thread
    const Color warpColor{0.15f, 0.52f, 0.20f};
    const Color weftColor{0.12f, 0.45f, 0.16f};
    return paint(size, [&](int x, int y) {
        const float u = textureCoordinate(x, size);
        const float v = textureCoordinate(y, size);
        const int column = x / thread;
        const int row = y / thread;
        // Plain weave: warp over weft on one diagonal of cells, under on the other.
        const bool warpOnTop = (column + row) % 2 == 0;
        const float across = (static_cast<float>(warpOnTop ? x % thread : y % thread) + 0.5f) / thread;
        const float roundness = 1.0f - (across - 0.5f) * (across - 0.5f) * 1.2f;
        const float threadTone = hashUnit(warpOnTop ? column : row, warpOnTop ? 0 : 1, 0, 51u);
        Color c = warpOnTop ? warpColor : weftColor;
        c = scaled(c, roundness * (0.92f + 0.16f * threadTone));
        const float folds = tiledFbm(u, v, 2, 3, 4, 0.5f, 52u);
        c = scaled(c, 0.85f + 0.3f * folds);
        const float fuzz = tiledFbm(u, v, 64, 64, 1, 0.5f, 53u);
        return scaled(c, 0.95f + 0.1f * fuzz);
    });
}

RgbaImage paintCloud(int size)
{
    struct Puff {
        float x, y, radius;
    };
    static const Puff puffs[] = {
        {0.30f, 0.58f, 0.17f}, {0.50f, 0.50f, 0.22f}, {0.70f, 0.57f, 0.16f}, {0.39f, 0.40f, 0.15f},
        {0.61f, 0.38f, 0.14f}, {0.19f, 0.64f, 0.11f}, {0.81f, 0.64f, 0.10f}, {0.50f, 0.63f, 0.17f},
    };
    // Polynomial smooth maximum and minimum: puffs merge without creases.
    const auto smoothMax = [](float a, float b, float k) {
        const float h = clamp01((k - std::fabs(a - b)) / k);
        return (a > b ? a : b) + h * h * k * 0.25f;
    };
    const auto smoothMin = [](float a, float b, float k) {
        const float h = clamp01((k - std::fabs(a - b)) / k);
        return (a < b ? a : b) - h * h * k * 0.25f;
    };
    // Positive inside the cloud, rising towards the middle of each puff.
    const auto density = [&](float u, float v) {
        float field = -1.0f;
        for (const Puff& puff : puffs) {
            const float dx = u - puff.x;
            const float dy = v - puff.y;
            field = smoothMax(field, 1.0f - std::sqrt(dx * dx + dy * dy) / puff.radius, 0.1f);
        }
        field += (tiledFbm(u, v, 6, 6, 4, 0.5f, 61u) - 0.5f) * 0.35f;
        return smoothMin(field, (0.76f - v) * 6.0f, 0.2f);
    };

    const float step = 1.0f / static_cast<float>(size);
    const float lx = -0.3f, ly = -0.65f, lz = 0.7f;
    const float lightLength = std::sqrt(lx * lx + ly * ly + lz * lz);
    return paint(size, [&](int x, int y) {
        const float u = textureCoordinate(x, size);
        const float v = textureCoordinate(y, size);
        const float field = density(u, v);
        const float border = u < v ? (u < 1.0f - v ? u : 1.0f - v) : (v < 1.0f - u ? v : 1.0f - u);
        const float alpha = smoothStep(0.0f, 0.2f, field) * smoothStep(0.0f, 0.05f, border);

        // Light the density as if it were the height of a soft surface.
        const float gx = (density(u + step, v) - density(u - step, v)) / (2.0f * step);
        const float gy = (density(u, v + step) - density(u, v - step)) / (2.0f * step);
        const float sx = -gx * 0.06f, sy = -gy * 0.06f;
        const float normalLength = std::sqrt(sx * sx + sy * sy + 1.0f);
        const float lambert = (sx * lx + sy * ly + lz) / (normalLength * lightLength);
        float shade = 0.62f + 0.38f * clamp01(lambert);
        shade *= 1.0f - 0.12f * smoothStep(0.5f, 0.76f, v);
        shade *= 0.97f + 0.06f * tiledFbm(u, v, 16, 16, 2, 0.5f, 62u);
        // Shadows lean blue, as under an open sky.
        return Color{shade, shade + (1.0f - shade) * 0.12f, shade + (1.0f - shade) * 0.4f, alpha};
    });
}
