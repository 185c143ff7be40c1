#include "level.h"

#include "level_meshes.h"

#include "framework/texture.h"

#include "game/particle_pool.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

glm::mat4 translation(const glm::vec3& offset)
{
    return glm::translate(glm::mat4(1.0f), offset);
}

std::shared_ptr<Shader> loadProgram(const char* vertexPath, const char* fragmentPath)
{
    return std::make_shared<Shader>(vertexPath, fragmentPath);
}

std::shared_ptr<Texture> loadTexture(const char* path)
{
    return std::make_shared<Texture>(path);
}

// Rebuilds the mipmaps and sets filtering and wrapping after loading.
std::shared_ptr<Texture> loadResampledTexture(const char* path, GLenum wrap)
{
    auto texture = loadTexture(path);
    texture->setSampling(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, wrap);
    return texture;
}

// An OBJ model with its textured material on the shared texture program.
Model loadTexturedModel(const char* objPath, const char* texturePath, GLenum wrap,
                        const std::shared_ptr<Shader>& textureShader, const glm::vec3& coefficients,
                        float specularAlpha, const glm::vec3& scale)
{
    Model model(objPath);
    model.setScale(scale);
    auto texture = loadResampledTexture(texturePath, wrap);
    model.setMaterial(std::make_shared<TextureMaterial>(textureShader, coefficients, specularAlpha, texture));
    return model;
}

}  // namespace

std::unique_ptr<Level> buildLevel(const Course& course, int renderTargetWidth, int renderTargetHeight)
{
    auto level = std::make_unique<Level>();

    // 1. The shared texture program and the materials of the fairy and the rings.
    level->textureShader = loadProgram("assets/shaders/texture.vert", "assets/shaders/texture.frag");
    auto fairyTexture = loadTexture("assets/textures/lightblue.dds");
    auto ringTexture = loadTexture("assets/textures/glitteryellow.dds");
    auto fairyMaterial =
        std::make_shared<TextureMaterial>(level->textureShader, glm::vec3(0.51f), 2.0f, fairyTexture);
    auto ringMaterial =
        std::make_shared<TextureMaterial>(level->textureShader, glm::vec3(0.51f, 0.4f, 0.4f), 8.0f, ringTexture);

    // 2. The rings along the course.
    level->rings.reserve(course.rings.size());
    for (const glm::vec3& centre : course.rings)
        level->rings.emplace_back(translation(centre), createTorusGeometry(18, 8, 0.2f, 0.06f), ringMaterial);

    // 3. The wall texture and the well mesh.
    auto wallTexture = loadResampledTexture("assets/textures/wellwall.dds", GL_REPEAT);
    const GeometryData wellMesh = wellMeshData(course.wellDepth, course.wellRadius);
    const glm::mat4 wellMatrix = translation(glm::vec3(0.0f, course.wellDepth / 2.0f, 0.0f));

    // 4. Bake the light on the wall.
    level->lightmap.emplace();
    auto bakeShader = loadProgram("assets/shaders/lightmapGen.vert", "assets/shaders/lightmapGen.frag");
    level->bakeGeometry.emplace(wellMatrix, wellMesh, std::make_shared<LightmapMaterial>(bakeShader));
    level->lightmap->bake(*bakeShader, *level->bakeGeometry, level->lights, renderTargetWidth, renderTargetHeight);

    // 5. The wall as the frame draws it: stone times baked light.
    level->wallShader = loadProgram("assets/shaders/wellFinal.vert", "assets/shaders/wellFinal.frag");
    level->wallShader->use();
    level->wallShader->setUniform("u_diffuseTex", 0);
    level->wallShader->setUniform("u_lightmap", 1);
    level->wall.emplace(wellMatrix, wellMesh,
                        std::make_shared<WellLightmapMaterial>(level->wallShader, wallTexture,
                                                               level->lightmap->texture()));

    // 6. The power bar and the heart, and the words with their font.
    level->hud.emplace();
    level->text.emplace();

    // 7. The glow.
    level->bloom.emplace();

    // 8. The fairy's body at its start.
    level->fairyBody.emplace(translation(course.fairyStart), createSphereGeometry(18, 8, fairyBodyRadius),
                             fairyMaterial);

    // 9. The buffers of the fairy's trail of sparks.
    level->particles.emplace(trailParticleSlots);

    // 10. Water.
    level->waterShader = loadProgram("assets/shaders/water.vert", "assets/shaders/water.frag");
    auto waterMaterial = std::make_shared<Material>(level->waterShader, waterColor, 16.0f);
    level->water.emplace(translation(glm::vec3(0.0f, 0.1f, 0.0f)), createPlaneGeometry(100, course.wellRadius),
                         waterMaterial);

    // 11. The cloud layer high above the well.
    level->cloudShader = loadProgram("assets/shaders/cloudProcedural.vert", "assets/shaders/cloudProcedural.frag");
    level->cloudMaterial = std::make_shared<ProceduralCloudMaterial>(level->cloudShader);
    level->cloudLayer.emplace(translation(glm::vec3(0.0f, 40.0f, 0.0f)), cloudLayerData(), level->cloudMaterial);

    // 12. Wings, flag and the small cloud under it.
    level->wings = loadTexturedModel("assets/objects/Wings.obj", "assets/textures/lightpurple.dds", GL_REPEAT,
                                     level->textureShader, glm::vec3(1.0f), 16.0f, glm::vec3(0.08f));
    level->flag = loadTexturedModel("assets/objects/flag.obj", "assets/textures/green.dds", GL_REPEAT,
                                    level->textureShader, glm::vec3(1.0f), 8.0f, glm::vec3(0.5f));
    level->flag->setPosition(course.flag);
    level->flag->setRotation(glm::vec3(0.0f, 90.0f, 0.0f));
    level->cloudModel = loadTexturedModel("assets/objects/cloud.obj", "assets/textures/cloud.dds", GL_CLAMP_TO_EDGE,
                                          level->textureShader, glm::vec3(1.0f, 0.0f, 0.0f), 1.0f, glm::vec3(0.003f));
    level->cloudModel->setPosition(course.cloud);
    level->cloudModel->setRotation(glm::vec3(0.0f, 90.0f, 0.0f));
    level->fairyTexture = fairyTexture;
    return level;
}

void addGhost(Level& level)
{
    level.ghostShader = loadProgram("assets/shaders/texture.vert", "assets/shaders/ghost.frag");
    auto material = std::make_shared<TextureMaterial>(level.ghostShader, glm::vec3(0.51f), 2.0f, level.fairyTexture);
    level.ghostBody.emplace(translation(glm::vec3(0.0f, 0.5f, 0.0f)), createSphereGeometry(18, 8, 0.1f), material);
}

void placeFairyObjects(Level& level, const FairyPlacement& placement)
{
    level.fairyBody->resetModelMatrix();
    level.fairyBody->transform(translation(placement.bodyPosition));
    level.lights.fairy.position = placement.lightPosition;
    level.wings->setPosition(placement.wingPosition);
    level.wings->setRotation(placement.wingRotationDegrees);
}

void placeGhost(Level& level, const glm::vec3& position)
{
    level.ghostBody->resetModelMatrix();
    level.ghostBody->transform(translation(position));
}
