// Every object of the one level: programs, textures, materials, meshes,
// models, lights, the lightmap and the bloom passes. Built once, in a fixed
// order, before the first frame; only the fairy's objects and the cloud
// layer's time change afterwards.
#pragma once

#include "bloom.h"
#include "lightmap.h"
#include "lights.h"
#include "scene_materials.h"

#include "framework/geometry.h"
#include "framework/model.h"
#include "framework/material.h"
#include "framework/shader.h"
#include "framework/texture.h"
#include "game/fairy_placement.h"
#include "game/overlay.h"
#include "game/particle_system.h"

#include <memory>
#include <optional>
#include <vector>

struct Level {
    std::shared_ptr<Shader> textureShader;
    std::vector<Geometry> rings;  // course order
    SceneLights lights = makeSceneLights();
    std::unique_ptr<Lightmap> lightmap;
    std::optional<Geometry> bakeGeometry;
    std::shared_ptr<Shader> wallShader;
    std::optional<Geometry> wall;
    std::unique_ptr<Overlay> overlay;
    std::unique_ptr<Bloom> bloom;
    std::optional<Geometry> fairyBody;
    std::unique_ptr<Shader> particleShader;
    std::unique_ptr<ParticleSystem> particles;
    std::shared_ptr<Shader> waterShader;
    std::optional<Geometry> water;
    std::shared_ptr<Shader> cloudShader;
    std::shared_ptr<ProceduralCloudMaterial> cloudMaterial;
    std::optional<Geometry> cloudLayer;
    std::optional<Model> wings;
    std::optional<Model> flag;
    std::optional<Model> cloudModel;
};

// Builds the level in its fixed order, baking the lightmap on the way; the
// viewport is then restored to the render targets' size.
std::unique_ptr<Level> buildLevel(int renderTargetWidth, int renderTargetHeight);

// Moves the fairy's body, light and wings to where the simulation put them.
void placeFairyObjects(Level& level, const FairyPlacement& placement);
