#include "scene/level_meshes.h"

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

TEST(CloudLayerMesh, GridOfThreeUnitCellsFromMinusToPlusThirty)
{
    const GeometryData grid = cloudLayerData();
    ASSERT_EQ(grid.positions.size(), 441u);
    EXPECT_EQ(grid.normals.size(), 441u);
    EXPECT_EQ(grid.uvs.size(), 441u);
    EXPECT_TRUE(grid.lightmapUVs.empty());
    EXPECT_EQ(grid.positions.front(), glm::vec3(-30.0f, 0.0f, -30.0f));
    EXPECT_EQ(grid.positions[1], glm::vec3(-27.0f, 0.0f, -30.0f));  // columns run fastest, along x
    EXPECT_EQ(grid.positions[21], glm::vec3(-30.0f, 0.0f, -27.0f));
    EXPECT_EQ(grid.positions.back(), glm::vec3(30.0f, 0.0f, 30.0f));
    EXPECT_EQ(grid.uvs.back(), glm::vec2(1.0f, 1.0f));
    for (const glm::vec3& normal : grid.normals)
        EXPECT_EQ(normal, glm::vec3(0.0f, 1.0f, 0.0f));
}

TEST(CloudLayerMesh, TwoTrianglesPerCellInRowOrder)
{
    const GeometryData grid = cloudLayerData();
    ASSERT_EQ(grid.indices.size(), 2400u);
    const std::vector<uint32_t> firstCell(grid.indices.begin(), grid.indices.begin() + 6);
    EXPECT_EQ(firstCell, (std::vector<uint32_t>{0, 21, 1, 1, 21, 22}));
    const std::vector<uint32_t> lastCell(grid.indices.end() - 6, grid.indices.end());
    EXPECT_EQ(lastCell, (std::vector<uint32_t>{418, 439, 419, 419, 439, 440}));
    for (uint32_t index : grid.indices)
        EXPECT_LT(index, 441u);
}
