// The four mesh generators: counts, exact first vertices and indices,
// winding against the outward direction, and index bounds.
#include "framework/geometry_data.h"

#include <gtest/gtest.h>

#include <cmath>

#include <glm/geometric.hpp>

namespace {

glm::vec3 faceNormal(const GeometryData& data, size_t triangle)
{
    const glm::vec3 a = data.positions[data.indices[3 * triangle]];
    const glm::vec3 b = data.positions[data.indices[3 * triangle + 1]];
    const glm::vec3 c = data.positions[data.indices[3 * triangle + 2]];
    return glm::cross(b - a, c - a);
}

glm::vec3 centroid(const GeometryData& data, size_t triangle)
{
    return (data.positions[data.indices[3 * triangle]] + data.positions[data.indices[3 * triangle + 1]] +
            data.positions[data.indices[3 * triangle + 2]]) /
           3.0f;
}

void expectVec3(const glm::vec3& actual, const glm::vec3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-6f);
    EXPECT_NEAR(actual.y, expected.y, 1e-6f);
    EXPECT_NEAR(actual.z, expected.z, 1e-6f);
}

void expectWellFormed(const GeometryData& data)
{
    ASSERT_EQ(data.normals.size(), data.positions.size());
    ASSERT_EQ(data.uvs.size(), data.positions.size());
    EXPECT_TRUE(data.extraVectors.empty());
    EXPECT_TRUE(data.lightmapUVs.empty());
    ASSERT_EQ(data.indices.size() % 3, 0u);
    for (uint32_t index : data.indices)
        ASSERT_LT(index, data.positions.size());
}

void expectEmpty(const GeometryData& data)
{
    EXPECT_TRUE(data.positions.empty());
    EXPECT_TRUE(data.indices.empty());
    EXPECT_TRUE(data.normals.empty());
    EXPECT_TRUE(data.uvs.empty());
}

}  // namespace

TEST(Sphere, FairyBodyCountsAndCapIndicesComeFirst)
{
    const GeometryData sphere = createSphereGeometry(18, 8, 0.1f);
    expectWellFormed(sphere);
    EXPECT_EQ(sphere.positions.size(), 128u);
    EXPECT_EQ(sphere.indices.size(), 756u);
    const std::vector<uint32_t> firstSix(sphere.indices.begin(), sphere.indices.begin() + 6);
    EXPECT_EQ(firstSix, (std::vector<uint32_t>{0, 3, 2, 110, 111, 1}));
}

TEST(Sphere, PolesThenRingsFromTheTop)
{
    const GeometryData sphere = createSphereGeometry(4, 4, 2.0f);
    expectVec3(sphere.positions[0], {0.0f, 2.0f, 0.0f});
    expectVec3(sphere.normals[0], {0.0f, 1.0f, 0.0f});
    EXPECT_EQ(sphere.uvs[0], glm::vec2(0.0f, 0.0f));
    expectVec3(sphere.positions[1], {0.0f, -2.0f, 0.0f});
    expectVec3(sphere.normals[1], {0.0f, -1.0f, 0.0f});
    EXPECT_EQ(sphere.uvs[1], glm::vec2(0.0f, 1.0f));

    // Ring 1 sits 45 degrees below the top pole; its second vertex is a quarter turn on.
    const float s = 2.0f * std::sin(3.1415927f / 4.0f);
    expectVec3(sphere.positions[2], {s, 2.0f * std::cos(3.1415927f / 4.0f), 0.0f});
    EXPECT_NEAR(sphere.positions[3].z, s, 1e-6f);
    EXPECT_NEAR(sphere.uvs[3].x, 0.25f, 1e-7f);
    EXPECT_NEAR(sphere.uvs[3].y, 0.25f, 1e-7f);
    // The equator ring, then the lowest ring.
    EXPECT_NEAR(sphere.positions[6].y, 0.0f, 1e-6f);
    EXPECT_NEAR(sphere.uvs[6].y, 0.5f, 1e-7f);
    EXPECT_LT(sphere.positions[10].y, 0.0f);
}

TEST(Sphere, PointsLieOnTheSphereWithRadialNormals)
{
    const GeometryData sphere = createSphereGeometry(18, 8, 0.1f);
    for (size_t i = 0; i < sphere.positions.size(); ++i) {
        EXPECT_NEAR(glm::length(sphere.positions[i]), 0.1f, 1e-6f);
        EXPECT_NEAR(glm::length(sphere.normals[i]), 1.0f, 1e-5f);
        EXPECT_GT(glm::dot(sphere.normals[i], sphere.positions[i]), 0.0f);
    }
}

TEST(Sphere, WindsCounterClockwiseSeenFromOutside)
{
    const GeometryData sphere = createSphereGeometry(18, 8, 0.1f);
    for (size_t t = 0; t < sphere.indices.size() / 3; ++t)
        EXPECT_GT(glm::dot(faceNormal(sphere, t), centroid(sphere, t)), 0.0f) << "triangle " << t;
}

TEST(Sphere, TooFewSegmentsGiveAnEmptyMesh)
{
    expectEmpty(createSphereGeometry(18, 1, 1.0f));
    expectEmpty(createSphereGeometry(18, 0, 1.0f));
    expectEmpty(createSphereGeometry(0, 8, 1.0f));
}

TEST(Sphere, TwoLatitudeSegmentsAreJustTheCaps)
{
    const GeometryData sphere = createSphereGeometry(3, 2, 1.0f);
    expectWellFormed(sphere);
    EXPECT_EQ(sphere.positions.size(), 5u);
    EXPECT_EQ(sphere.indices.size(), 18u);
}

TEST(Torus, RingCountsAndFirstVertex)
{
    const GeometryData torus = createTorusGeometry(18, 8, 0.2f, 0.06f);
    expectWellFormed(torus);
    EXPECT_EQ(torus.positions.size(), 171u);
    EXPECT_EQ(torus.indices.size(), 864u);
    expectVec3(torus.positions[0], {0.26f, 0.0f, 0.0f});
    expectVec3(torus.normals[0], {1.0f, 0.0f, 0.0f});
    EXPECT_EQ(torus.uvs[0], glm::vec2(0.0f, 0.0f));
}

TEST(Torus, SeamsAreDuplicatedWithFullTextureRange)
{
    const GeometryData torus = createTorusGeometry(18, 8, 0.2f, 0.06f);
    const size_t lastRow = 18 * 9;
    for (size_t j = 0; j <= 8; ++j) {
        expectVec3(torus.positions[lastRow + j], torus.positions[j]);
        EXPECT_EQ(torus.uvs[lastRow + j].x, 1.0f);
    }
    for (size_t i = 0; i <= 18; ++i) {
        expectVec3(torus.positions[i * 9 + 8], torus.positions[i * 9]);
        EXPECT_EQ(torus.uvs[i * 9 + 8].y, 1.0f);
    }
}

TEST(Torus, WindsClockwiseFromOutsideWhileNormalsPointOut)
{
    const float ringRadius = 0.2f;
    const GeometryData torus = createTorusGeometry(18, 8, ringRadius, 0.06f);
    for (size_t t = 0; t < torus.indices.size() / 3; ++t) {
        const glm::vec3 c = centroid(torus, t);
        const glm::vec3 tubeCentre = ringRadius * glm::normalize(glm::vec3(c.x, 0.0f, c.z));
        EXPECT_LT(glm::dot(faceNormal(torus, t), c - tubeCentre), 0.0f) << "triangle " << t;
    }
    for (size_t i = 0; i < torus.positions.size(); ++i) {
        const glm::vec3 p = torus.positions[i];
        const glm::vec3 tubeCentre = ringRadius * glm::normalize(glm::vec3(p.x, 0.0f, p.z));
        EXPECT_GT(glm::dot(torus.normals[i], p - tubeCentre), 0.0f);
        EXPECT_NEAR(glm::length(torus.normals[i]), 1.0f, 1e-5f);
    }
}

TEST(Torus, ZeroSegmentsGiveAnEmptyMesh)
{
    expectEmpty(createTorusGeometry(0, 8, 0.2f, 0.06f));
    expectEmpty(createTorusGeometry(18, 0, 0.2f, 0.06f));
}

TEST(Plane, WaterGridSpansTheWellFloorFacingUp)
{
    const GeometryData plane = createPlaneGeometry(100, 5.0f);
    expectWellFormed(plane);
    ASSERT_EQ(plane.positions.size(), 10201u);
    EXPECT_EQ(plane.indices.size(), 60000u);
    expectVec3(plane.positions.front(), {-5.0f, 0.0f, -5.0f});
    expectVec3(plane.positions.back(), {5.0f, 0.0f, 5.0f});
    EXPECT_NEAR(plane.positions[1].x, -4.9f, 1e-5f);   // columns run along x
    EXPECT_NEAR(plane.positions[101].z, -4.9f, 1e-5f); // rows along z
    EXPECT_EQ(plane.uvs.back(), glm::vec2(1.0f, 1.0f));
    for (const glm::vec3& normal : plane.normals)
        ASSERT_EQ(normal, glm::vec3(0.0f, 1.0f, 0.0f));
}

TEST(Plane, WindsCounterClockwiseSeenFromAbove)
{
    const GeometryData plane = createPlaneGeometry(7, 1.5f);
    for (size_t t = 0; t < plane.indices.size() / 3; ++t)
        EXPECT_GT(faceNormal(plane, t).y, 0.0f) << "triangle " << t;
}

TEST(Plane, NoCellsGiveAnEmptyMesh)
{
    expectEmpty(createPlaneGeometry(-3, 5.0f));
    expectEmpty(createPlaneGeometry(0, 5.0f));
}

TEST(Tube, WellTubeCountsAndRingOrder)
{
    const GeometryData tube = createTubeGeometry(64, 20.0f, 5.0f);
    expectWellFormed(tube);
    EXPECT_EQ(tube.positions.size(), 130u);
    EXPECT_EQ(tube.indices.size(), 384u);
    expectVec3(tube.positions[0], {5.0f, -10.0f, 0.0f});
    EXPECT_EQ(tube.uvs[0], glm::vec2(0.0f, 1.0f));
    expectVec3(tube.positions[65], {5.0f, 10.0f, 0.0f});
    EXPECT_EQ(tube.uvs[65], glm::vec2(0.0f, 0.0f));
    // The seam column is repeated with u = 1.
    EXPECT_NEAR(tube.positions[64].x, 5.0f, 1e-5f);
    EXPECT_NEAR(tube.positions[64].z, 0.0f, 1e-5f);
    EXPECT_EQ(tube.uvs[64], glm::vec2(1.0f, 1.0f));
}

TEST(Tube, WindsCounterClockwiseFromOutsideWithOutwardNormals)
{
    const GeometryData tube = createTubeGeometry(64, 20.0f, 5.0f);
    for (size_t t = 0; t < tube.indices.size() / 3; ++t) {
        const glm::vec3 c = centroid(tube, t);
        EXPECT_GT(glm::dot(faceNormal(tube, t), glm::vec3(c.x, 0.0f, c.z)), 0.0f) << "triangle " << t;
    }
    for (size_t i = 0; i < tube.positions.size(); ++i) {
        const glm::vec3 p = tube.positions[i];
        EXPECT_EQ(tube.normals[i].y, 0.0f);
        EXPECT_GT(glm::dot(tube.normals[i], glm::vec3(p.x, 0.0f, p.z)), 0.0f);
    }
}

TEST(Tube, ZeroSegmentsGiveAnEmptyMesh)
{
    expectEmpty(createTubeGeometry(0, 20.0f, 5.0f));
}

TEST(Generators, IndicesStayInsideTheirMeshAndCountsFollowTheSegments)
{
    for (unsigned a = 1; a <= 12; ++a) {
        for (unsigned b = 1; b <= 12; ++b) {
            SCOPED_TRACE(testing::Message() << "segments " << a << ", " << b);
            if (b >= 2) {
                const GeometryData sphere = createSphereGeometry(a, b, 1.0f);
                expectWellFormed(sphere);
                EXPECT_EQ(sphere.positions.size(), 2 + (b - 1) * a);
                EXPECT_EQ(sphere.indices.size(), 6 * a * (b - 1));
            }
            const GeometryData torus = createTorusGeometry(a, b, 1.0f, 0.25f);
            expectWellFormed(torus);
            EXPECT_EQ(torus.positions.size(), (a + 1) * (b + 1));
            EXPECT_EQ(torus.indices.size(), 6 * a * b);
        }
        const GeometryData plane = createPlaneGeometry(static_cast<int>(a), 2.0f);
        expectWellFormed(plane);
        EXPECT_EQ(plane.positions.size(), (a + 1) * (a + 1));
        EXPECT_EQ(plane.indices.size(), 6 * a * a);
        const GeometryData tube = createTubeGeometry(a, 3.0f, 1.0f);
        expectWellFormed(tube);
        EXPECT_EQ(tube.positions.size(), 2 * (a + 1));
        EXPECT_EQ(tube.indices.size(), 6 * a);
    }
}
