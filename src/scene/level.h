// Every object of the level a course makes: programs, textures, materials, meshes,
// models, lights, the lightmap, the glow, the trail's, the HUD's and the
// words' renderers, and in player mode the ghost's body. Built once, in a
// fixed order, before the first frame; only the fairy's and the ghost's
// objects and the cloud layer's time change afterwards.
#pragma once

#include "bloom.h"
#include "hud_renderer.h"
#include "lightmap.h"
#include "lights.h"
#include "particle_renderer.h"
#include "scene_materials.h"
#include "text_renderer.h"

#include "framework/geometry.h"
#include "framework/model.h"
#include "framework/shader.h"
#include "game/course.h"
#include "game/fairy_placement.h"

#include <memory>
#include <optional>
#include <vector>

// The water's colour: its base colour and its material's coefficients.
inline constexpr glm::vec3 waterColor{0.2f, 0.4f, 0.8f};

struct Level {
    std::shared_ptr<Shader> textureShader;
    std::vector<Geometry> rings;  // course order
    SceneLights lights = makeSceneLights();
    std::optional<Lightmap> lightmap;
    std::optional<Geometry> bakeGeometry;
    std::shared_ptr<Shader> wallShader;
    std::optional<Geometry> wall;
    std::optional<HudRenderer> hud;
    std::optional<TextRenderer> text;
    std::optional<Bloom> bloom;
    std::optional<Geometry> fairyBody;
    std::optional<ParticleRenderer> particles;
    std::shared_ptr<Shader> waterShader;
    std::optional<Geometry> water;
    std::shared_ptr<Shader> cloudShader;
    std::shared_ptr<ProceduralCloudMaterial> cloudMaterial;
    std::optional<Geometry> cloudLayer;
    std::optional<Model> wings;
    std::optional<Model> flag;
    std::optional<Model> cloudModel;
    std::shared_ptr<Texture> fairyTexture;
    std::shared_ptr<Shader> ghostShader;
    std::optional<Geometry> ghostBody;  // the fairy's body, drawn see-through; only once addGhost ran
};

// Builds the level of `course` in its fixed order, baking the lightmap on the
// way; the viewport is then restored to the render targets' size.
std::unique_ptr<Level> buildLevel(const Course& course, int renderTargetWidth, int renderTargetHeight);

// The ghost's program and body, the fairy's sphere and texture, for player
// mode only: a game without it reads no more files than before.
void addGhost(Level& level);

// Moves the fairy's body, light and wings to where the simulation put them.
void placeFairyObjects(Level& level, const FairyPlacement& placement);

// Moves the ghost's body to the best run's fairy's position.
void placeGhost(Level& level, const glm::vec3& position);
