// The level's hand-built meshes as plain data: the well wall and the cloud
// layer's grid.
#pragma once

#include "framework/geometry_data.h"

// The wall texture repeats this many times around the well and up it.
constexpr float wellTextureTiling = 10.0f;

// An open tube of this depth and radius around its own origin; texture
// coordinates tiled for the stone, lightmap coordinates covering the wall once.
GeometryData wellMeshData(float depth, float radius);

// 21 by 21 vertices from -30 to 30 in x and z at y = 0, two triangles a cell.
GeometryData cloudLayerData();
