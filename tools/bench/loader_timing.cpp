#include "loader_timing.h"

#include "clock.h"

#include "framework/geometry.h"
#include "framework/model.h"
#include "framework/shader.h"
#include "framework/texture.h"
#include "scene/level_meshes.h"
#include "scene/lightmap.h"
#include "scene/lights.h"
#include "scene/scene_materials.h"

#include <glm/gtc/matrix_transform.hpp>

#include <memory>
#include <vector>

namespace {

struct ProgramFiles {
    const char* vertex;
    const char* fragment;
};

// Every program the level builds, the bloom's and the overlay's among them.
const ProgramFiles levelPrograms[] = {
    {"assets/shaders/texture.vert", "assets/shaders/texture.frag"},
    {"assets/shaders/lightmapGen.vert", "assets/shaders/lightmapGen.frag"},
    {"assets/shaders/wellFinal.vert", "assets/shaders/wellFinal.frag"},
    {"assets/shaders/ui.vert", "assets/shaders/ui.frag"},
    {"assets/shaders/bloomBlur.vert", "assets/shaders/bloomBlur.frag"},
    {"assets/shaders/quad.vert", "assets/shaders/bloomFinal.frag"},
    {"assets/shaders/particle.vert", "assets/shaders/particle.frag"},
    {"assets/shaders/water.vert", "assets/shaders/water.frag"},
    {"assets/shaders/cloudProcedural.vert", "assets/shaders/cloudProcedural.frag"},
};

struct TextureFile {
    const char* path;
    bool resampled;  // the level rebuilds its mipmaps and sets its sampling
    GLenum wrap;
};

const TextureFile levelTextures[] = {
    {"assets/textures/lightblue.dds", false, GL_REPEAT},
    {"assets/textures/glitteryellow.dds", false, GL_REPEAT},
    {"assets/textures/wellwall.dds", true, GL_REPEAT},
    {"assets/textures/lightpurple.dds", true, GL_REPEAT},
    {"assets/textures/green.dds", true, GL_REPEAT},
    {"assets/textures/cloud.dds", true, GL_CLAMP_TO_EDGE},
};

const char* const levelModels[] = {"assets/objects/Wings.obj", "assets/objects/flag.obj", "assets/objects/cloud.obj"};

}  // namespace

LoaderTimes timeLoaders(int renderTargetWidth, int renderTargetHeight)
{
    LoaderTimes times;
    glFinish();

    std::vector<std::unique_ptr<Shader>> programs;
    times.shaders = timeMilliseconds([&] {
        for (const ProgramFiles& files : levelPrograms)
            programs.push_back(std::make_unique<Shader>(files.vertex, files.fragment));
    });
    times.shaderCount = static_cast<int>(programs.size());

    std::vector<std::unique_ptr<Texture>> textures;
    times.textures = timeMilliseconds([&] {
        for (const TextureFile& file : levelTextures) {
            textures.push_back(std::make_unique<Texture>(file.path));
            if (file.resampled)
                textures.back()->setSampling(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, file.wrap);
        }
        glFinish();
    });
    times.textureCount = static_cast<int>(textures.size());

    std::vector<std::unique_ptr<Model>> models;
    times.models = timeMilliseconds([&] {
        for (const char* path : levelModels)
            models.push_back(std::make_unique<Model>(path));
        glFinish();
    });
    times.modelCount = static_cast<int>(models.size());

    // The bake program and the wall mesh are made as the level makes them, untimed:
    // programs are counted above, the mesh belongs to the rest of buildLevel.
    auto bakeShader = std::make_shared<Shader>("assets/shaders/lightmapGen.vert", "assets/shaders/lightmapGen.frag");
    Geometry bakeGeometry(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 10.0f, 0.0f)), wellMeshData(),
                          std::make_shared<LightmapMaterial>(bakeShader));
    const SceneLights lights = makeSceneLights();
    glFinish();
    times.bake = timeMilliseconds([&] {
        Lightmap lightmap;
        lightmap.bake(*bakeShader, bakeGeometry, lights, renderTargetWidth, renderTargetHeight);
        glFinish();
    });
    return times;
}
