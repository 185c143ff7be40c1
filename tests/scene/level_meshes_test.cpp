#include "scene/level_meshes.h"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>

TEST(WellMesh, TilesTheStoneTenTimesButTheLightmapOnce)
{
    const GeometryData tube = createTubeGeometry(64, 20.0f, 5.0f);
    const GeometryData well = wellMeshData();
    ASSERT_EQ(well.uvs.size(), tube.uvs.size());
    ASSERT_EQ(well.lightmapUVs.size(), tube.uvs.size());
    for (size_t i = 0; i < tube.uvs.size(); ++i) {
        EXPECT_EQ(well.uvs[i], tube.uvs[i] * 10.0f);
        EXPECT_EQ(well.lightmapUVs[i], tube.uvs[i]);
    }
    EXPECT_EQ(well.positions, tube.positions);
    EXPECT_EQ(well.indices, tube.indices);
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
