#include "scene/level_meshes.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

// The wall, a tube of radius 5 and height 20 around its origin: the stone
// repeats ten times around and up it, the lightmap lies over it once. Each
// set of coordinates spans its square, and its triangles cover it exactly once.
TEST(WellMesh, TilesTheStoneTenTimesButTheLightmapOnce)
{
    const GeometryData well = wellMeshData(20.0f, 5.0f);
    for (const glm::vec3& p : well.positions) {
        EXPECT_NEAR(glm::length(glm::vec2(p.x, p.z)), 5.0f, 1e-5f);
        EXPECT_EQ(std::abs(p.y), 10.0f);
    }
    for (const auto& [uvs, side] : {std::pair{well.uvs, 10.0f}, std::pair{well.lightmapUVs, 1.0f}}) {
        float area = 0.0f;
        for (size_t t = 0; t < well.indices.size(); t += 3) {
            const glm::vec2 a = uvs.at(well.indices[t]);
            const glm::vec2 b = uvs.at(well.indices[t + 1]) - a, c = uvs.at(well.indices[t + 2]) - a;
            area += 0.5f * std::abs(b.x * c.y - b.y * c.x);
        }
        glm::vec2 lowest(1e9f), highest(-1e9f);
        for (const glm::vec2& uv : uvs) {
            lowest = glm::min(lowest, uv);
            highest = glm::max(highest, uv);
        }
        EXPECT_NEAR(area, side * side, side * side * 1e-4f) << side;
        EXPECT_EQ(lowest, glm::vec2(0.0f)) << side;
        EXPECT_LT(glm::distance(highest, glm::vec2(side)), 1e-5f) << side;
    }
}

// 20 by 20 cells of 3 units from -30 to 30, facing up, covered by two
// triangles each, every one of them facing up too.
TEST(CloudLayerMesh, CoversSixtyUnitsSquareFacingUp)
{
    const GeometryData grid = cloudLayerData();
    ASSERT_EQ(grid.positions.size(), 441u);
    ASSERT_EQ(grid.indices.size(), 2400u);
    EXPECT_EQ(grid.positions.front(), glm::vec3(-30.0f, 0.0f, -30.0f));
    EXPECT_EQ(grid.positions.back(), glm::vec3(30.0f, 0.0f, 30.0f));
    EXPECT_EQ(grid.uvs.back(), glm::vec2(1.0f, 1.0f));
    float area = 0.0f;
    for (size_t t = 0; t < grid.indices.size(); t += 3) {
        const glm::vec3 a = grid.positions.at(grid.indices[t]);
        const glm::vec3 up = glm::cross(grid.positions.at(grid.indices[t + 1]) - a, grid.positions.at(grid.indices[t + 2]) - a);
        ASSERT_GT(up.y, 0.0f);
        area += 0.5f * up.y;
    }
    EXPECT_FLOAT_EQ(area, 3600.0f);
    for (const glm::vec3& normal : grid.normals)
        EXPECT_EQ(normal, glm::vec3(0.0f, 1.0f, 0.0f));
}
