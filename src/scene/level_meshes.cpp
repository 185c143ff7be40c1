#include "level_meshes.h"

GeometryData wellMeshData(float depth, float radius)
{
    const GeometryData tube = createTubeGeometry(64, depth, radius);
    GeometryData well = tube;
    for (glm::vec2& uv : well.uvs)
        uv *= wellTextureTiling;
    well.lightmapUVs = tube.uvs;
    return well;
}

GeometryData cloudLayerData()
{
    constexpr int cells = 20;
    constexpr int rowLength = cells + 1;
    constexpr float width = 60.0f;
    GeometryData grid;
    for (int r = 0; r <= cells; ++r) {
        for (int c = 0; c <= cells; ++c) {
            const float u = static_cast<float>(c) / cells;
            const float v = static_cast<float>(r) / cells;
            grid.positions.emplace_back((u - 0.5f) * width, 0.0f, (v - 0.5f) * width);
            grid.normals.emplace_back(0.0f, 1.0f, 0.0f);
            grid.uvs.emplace_back(u, v);
        }
    }
    for (uint32_t base = rowLength; base <= cells * rowLength; base += rowLength) {
        for (uint32_t c = 0; c < cells; ++c) {
            const uint32_t v = base + c;
            grid.indices.insert(grid.indices.end(), {v - rowLength, v, v - rowLength + 1});
            grid.indices.insert(grid.indices.end(), {v - rowLength + 1, v, v + 1});
        }
    }
    return grid;
}
