// The four mesh generators: counts and first vertices of the level's own
// meshes, triangles that face the way their normals point, texture
// coordinates over the whole surface, and nothing for degenerate arguments.
#include "framework/geometry_data.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>

namespace {

// How a generator's triangles face: outward (+1) or inward (-1) along the
// normals stored at their corners, for every triangle alike, or 0 if mixed.
int windingAgainstNormals(const GeometryData& data)
{
    int outward = 0, inward = 0;
    for (size_t t = 0; t < data.indices.size(); t += 3) {
        const glm::vec3 a = data.positions[data.indices[t]];
        const glm::vec3 face =
            glm::cross(data.positions[data.indices[t + 1]] - a, data.positions[data.indices[t + 2]] - a);
        const glm::vec3 normal =
            data.normals[data.indices[t]] + data.normals[data.indices[t + 1]] + data.normals[data.indices[t + 2]];
        if (glm::length(face) < 1e-9f)
            continue;
        (glm::dot(face, normal) > 0.0f ? outward : inward) += 1;
    }
    return inward == 0 ? 1 : outward == 0 ? -1 : 0;
}

void expectWellFormed(const GeometryData& data, size_t vertices, size_t indices)
{
    ASSERT_EQ(data.positions.size(), vertices);
    ASSERT_EQ(data.indices.size(), indices);
    ASSERT_EQ(data.normals.size(), vertices);
    ASSERT_EQ(data.uvs.size(), vertices);
    EXPECT_TRUE(data.lightmapUVs.empty() && data.extraVectors.empty());
    for (uint32_t index : data.indices)
        ASSERT_LT(index, vertices);
    for (const glm::vec3& normal : data.normals)
        ASSERT_NEAR(glm::length(normal), 1.0f, 1e-5f);
    for (const glm::vec2& uv : data.uvs)
        ASSERT_TRUE(uv.x >= 0.0f && uv.x <= 1.0f && uv.y >= 0.0f && uv.y <= 1.0f);
}

}  // namespace

TEST(Generators, TheLevelsMeshesHaveTheirCountsFirstVerticesAndWinding)
{
    const GeometryData sphere = createSphereGeometry(18, 8, 0.1f);
    expectWellFormed(sphere, 128, 756);
    EXPECT_EQ(sphere.positions[0], glm::vec3(0.0f, 0.1f, 0.0f));  // the poles first
    EXPECT_EQ(sphere.positions[1], glm::vec3(0.0f, -0.1f, 0.0f));
    EXPECT_EQ(windingAgainstNormals(sphere), 1);

    const GeometryData torus = createTorusGeometry(18, 8, 0.2f, 0.06f);
    expectWellFormed(torus, 171, 864);
    EXPECT_LT(glm::distance(torus.positions[0], glm::vec3(0.26f, 0.0f, 0.0f)), 1e-6f);
    EXPECT_LT(glm::distance(torus.normals[0], glm::vec3(1.0f, 0.0f, 0.0f)), 1e-6f);
    EXPECT_LT(glm::distance(torus.positions[170], torus.positions[0]), 1e-5f);  // the seams repeat
    EXPECT_EQ(torus.uvs[170], glm::vec2(1.0f, 1.0f));
    EXPECT_EQ(windingAgainstNormals(torus), -1);  // clockwise from outside, normals out

    const GeometryData plane = createPlaneGeometry(100, 5.0f);
    expectWellFormed(plane, 10201, 60000);
    EXPECT_EQ(plane.positions.front(), glm::vec3(-5.0f, 0.0f, -5.0f));
    EXPECT_LT(glm::distance(plane.positions.back(), glm::vec3(5.0f, 0.0f, 5.0f)), 1e-5f);
    EXPECT_EQ(windingAgainstNormals(plane), 1);

    const GeometryData tube = createTubeGeometry(64, 20.0f, 5.0f);
    expectWellFormed(tube, 130, 384);
    EXPECT_EQ(tube.positions[0], glm::vec3(5.0f, -10.0f, 0.0f));
    EXPECT_EQ(tube.uvs[0], glm::vec2(0.0f, 1.0f));
    EXPECT_LT(glm::distance(tube.positions[65], glm::vec3(5.0f, 10.0f, 0.0f)), 1e-5f);
    EXPECT_EQ(tube.uvs[65], glm::vec2(0.0f, 0.0f));
    EXPECT_EQ(windingAgainstNormals(tube), 1);
}

// Degenerate arguments give empty meshes.
TEST(Generators, PointsLieOnTheirShapesAndCountsFollowTheSegments)
{
    for (const GeometryData& empty : {createSphereGeometry(0, 8, 1.0f), createSphereGeometry(8, 1, 1.0f),
                                      createTorusGeometry(0, 8, 1.0f, 0.1f), createTorusGeometry(8, 0, 1.0f, 0.1f),
                                      createPlaneGeometry(0, 1.0f), createPlaneGeometry(-3, 1.0f),
                                      createTubeGeometry(0, 1.0f, 1.0f)})
        expectWellFormed(empty, 0, 0);
    for (unsigned a = 1; a <= 9; ++a) {
        for (unsigned b = 2; b <= 9; ++b) {
            const GeometryData sphere = createSphereGeometry(a, b, 2.0f);
            expectWellFormed(sphere, 2 + (b - 1) * a, 6 * a * (b - 1));
            for (size_t v = 0; v < sphere.positions.size(); ++v)
                ASSERT_LT(glm::distance(sphere.positions[v], 2.0f * sphere.normals[v]), 1e-5f);
            const GeometryData torus = createTorusGeometry(a, b, 1.0f, 0.25f);
            expectWellFormed(torus, (a + 1) * (b + 1), 6 * a * b);
        }
        const GeometryData plane = createPlaneGeometry(static_cast<int>(a), 2.0f);
        expectWellFormed(plane, (a + 1) * (a + 1), 6 * a * a);
        const GeometryData tube = createTubeGeometry(a, 3.0f, 1.0f);
        expectWellFormed(tube, 2 * (a + 1), 6 * a);
        for (const glm::vec3& p : tube.positions)
            ASSERT_NEAR(glm::length(glm::vec2(p.x, p.z)), 1.0f, 1e-5f);
    }
}
