#include "geometry_data.h"

#include <cmath>

#include <glm/geometric.hpp>

namespace {

// The generators' own constants; meshes must match vertex for vertex, so no
// double-precision pi sneaks in.
constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;

void addVertex(GeometryData& data, const glm::vec3& position, const glm::vec3& normal, const glm::vec2& uv)
{
    data.positions.push_back(position);
    data.normals.push_back(normal);
    data.uvs.push_back(uv);
}

void addTriangle(GeometryData& data, uint32_t a, uint32_t b, uint32_t c)
{
    data.indices.push_back(a);
    data.indices.push_back(b);
    data.indices.push_back(c);
}

}  // namespace

GeometryData createSphereGeometry(unsigned longitudeSegments, unsigned latitudeSegments, float radius)
{
    GeometryData data;
    const uint32_t n = longitudeSegments;
    const uint32_t m = latitudeSegments;
    // Fewer segments would make the lowest-ring index wrap around.
    if (n < 1 || m < 2)
        return data;

    data.positions.reserve(2 + (m - 1) * n);
    data.normals.reserve(2 + (m - 1) * n);
    data.uvs.reserve(2 + (m - 1) * n);
    data.indices.reserve(6 * n * (m - 1));

    addVertex(data, {0.0f, radius, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f});
    addVertex(data, {0.0f, -radius, 0.0f}, {0.0f, -1.0f, 0.0f}, {0.0f, 1.0f});

    // The caps refer to ring vertices that are only added below.
    const uint32_t lowestRing = 2 + (m - 2) * n;
    for (uint32_t j = 0; j < n; ++j) {
        const uint32_t j1 = (j == n - 1) ? 0 : j + 1;
        addTriangle(data, 0, 2 + j1, 2 + j);
        addTriangle(data, lowestRing + j, lowestRing + j1, 1);
    }

    for (uint32_t i = 1; i < m; ++i) {
        const float theta = static_cast<float>(i) * kPi / static_cast<float>(m);
        const float sinTheta = std::sin(theta);
        const float cosTheta = std::cos(theta);
        for (uint32_t j = 0; j < n; ++j) {
            const float phi = 2.0f * static_cast<float>(j) * kPi / static_cast<float>(n);
            const glm::vec3 position(radius * sinTheta * std::cos(phi), radius * cosTheta,
                                     radius * sinTheta * std::sin(phi));
            addVertex(data, position, position / glm::length(position), {phi / kTwoPi, theta / kPi});
        }
        if (i < 2)
            continue;
        const uint32_t previous = 2 + (i - 2) * n;
        const uint32_t current = previous + n;
        for (uint32_t j = 0; j < n; ++j) {
            const uint32_t j1 = (j == n - 1) ? 0 : j + 1;
            addTriangle(data, current + j, previous + j1, current + j1);
            addTriangle(data, previous + j1, current + j, previous + j);
        }
    }
    return data;
}

GeometryData createTorusGeometry(unsigned ringSegments, unsigned tubeSegments, float ringRadius,
                                 float tubeRadius)
{
    GeometryData data;
    const uint32_t n = ringSegments;
    const uint32_t m = tubeSegments;
    // Zero segments would divide by zero and give only NaN vertices.
    if (n == 0 || m == 0)
        return data;

    const uint32_t vertexCount = (n + 1) * (m + 1);
    data.positions.reserve(vertexCount);
    data.normals.reserve(vertexCount);
    data.uvs.reserve(vertexCount);
    data.indices.reserve(6 * n * m);

    for (uint32_t i = 0; i <= n; ++i) {
        const float u = static_cast<float>(i) * (kTwoPi / static_cast<float>(n));
        const float cosU = std::cos(u);
        const float sinU = std::sin(u);
        for (uint32_t j = 0; j <= m; ++j) {
            const float v = static_cast<float>(j) * (kTwoPi / static_cast<float>(m));
            const float cosV = std::cos(v);
            const float sinV = std::sin(v);
            const glm::vec3 position(ringRadius * cosU + tubeRadius * cosV * cosU, tubeRadius * sinV,
                                     ringRadius * sinU + tubeRadius * cosV * sinU);
            const glm::vec3 normal =
                glm::normalize(glm::vec3(tubeRadius * cosV * cosU, tubeRadius * sinV, tubeRadius * cosV * sinU));
            addVertex(data, position, normal,
                      {static_cast<float>(i) / static_cast<float>(n), static_cast<float>(j) / static_cast<float>(m)});
        }
    }

    for (uint32_t i = 0; i < n; ++i) {
        for (uint32_t j = 0; j < m; ++j) {
            const uint32_t k = i * (m + 1) + j;
            addTriangle(data, k, k + m + 1, k + m + 2);
            addTriangle(data, k, k + m + 2, k + 1);
        }
    }
    return data;
}

GeometryData createPlaneGeometry(int subdivisions, float halfSize)
{
    GeometryData data;
    const int n = subdivisions;
    // Negative counts have no cells; zero cells would divide by zero.
    if (n <= 0)
        return data;

    const float step = (halfSize + halfSize) / static_cast<float>(n);
    const size_t vertexCount = static_cast<size_t>(n + 1) * static_cast<size_t>(n + 1);
    data.positions.reserve(vertexCount);
    data.normals.reserve(vertexCount);
    data.uvs.reserve(vertexCount);
    data.indices.reserve(6 * static_cast<size_t>(n) * static_cast<size_t>(n));

    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            const glm::vec3 position(static_cast<float>(j) * step - halfSize, 0.0f,
                                     static_cast<float>(i) * step - halfSize);
            addVertex(data, position, {0.0f, 1.0f, 0.0f},
                      {static_cast<float>(j) / static_cast<float>(n), static_cast<float>(i) / static_cast<float>(n)});
        }
    }

    const uint32_t row = static_cast<uint32_t>(n) + 1;
    for (uint32_t i = 0; i + 1 < row; ++i) {
        for (uint32_t j = 0; j + 1 < row; ++j) {
            const uint32_t k = i * row + j;
            addTriangle(data, k, k + row, k + row + 1);
            addTriangle(data, k, k + row + 1, k + 1);
        }
    }
    return data;
}

GeometryData createTubeGeometry(unsigned segments, float height, float radius)
{
    GeometryData data;
    const uint32_t n = segments;
    // Zero segments would give two NaN vertices and no triangle.
    if (n == 0)
        return data;

    data.positions.reserve(2 * (n + 1));
    data.normals.reserve(2 * (n + 1));
    data.uvs.reserve(2 * (n + 1));
    data.indices.reserve(6 * n);

    for (int ring = 0; ring < 2; ++ring) {
        const float y = (ring == 0) ? -height * 0.5f : height * 0.5f;
        const float v = (ring == 0) ? 1.0f : 0.0f;
        for (uint32_t j = 0; j <= n; ++j) {
            const float t = static_cast<float>(j) / static_cast<float>(n);
            const float angle = (t + t) * kPi;
            const float x = radius * std::cos(angle);
            const float z = radius * std::sin(angle);
            addVertex(data, {x, y, z}, glm::normalize(glm::vec3(x, 0.0f, z)), {t, v});
        }
    }

    for (uint32_t j = 0; j < n; ++j) {
        addTriangle(data, j, j + n + 1, j + n + 2);
        addTriangle(data, j, j + n + 2, j + 1);
    }
    return data;
}
