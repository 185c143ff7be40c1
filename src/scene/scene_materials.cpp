#include "scene_materials.h"

#include "framework/shader.h"
#include "framework/texture.h"

#include <utility>

namespace {

const glm::vec3 white(1.0f);

}  // namespace

LightmapMaterial::LightmapMaterial(std::shared_ptr<Shader> shader) : Material(std::move(shader), white, 1.0f) {}

WellLightmapMaterial::WellLightmapMaterial(std::shared_ptr<Shader> shader, std::shared_ptr<Texture> diffuseTexture,
                                           GLuint lightmapTexture)
    : Material(std::move(shader), white, 1.0f), diffuseTexture(std::move(diffuseTexture)),
      lightmapTexture(lightmapTexture)
{
}

void WellLightmapMaterial::setUniforms()
{
    shader->setUniform("u_diffuseTex", 0);
    shader->setUniform("u_lightmap", 1);
    glActiveTexture(GL_TEXTURE0);
    diffuseTexture->bind(0);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, lightmapTexture);
}

ProceduralCloudMaterial::ProceduralCloudMaterial(std::shared_ptr<Shader> shader)
    : Material(std::move(shader), white, 1.0f)
{
}

void ProceduralCloudMaterial::setUniforms()
{
    shader->setUniform("time", time);
}
