#include "material.h"

#include "shader.h"
#include "texture.h"

#include <utility>

Material::Material(std::shared_ptr<Shader> shader, const glm::vec3& coefficients, float specularAlpha)
    : shader(std::move(shader)), coefficients(coefficients), specularAlpha(specularAlpha)
{
}

void Material::setUniforms()
{
    shader->setUniform("materialCoefficients", coefficients);
    shader->setUniform("specularAlpha", specularAlpha);
}

TextureMaterial::TextureMaterial(std::shared_ptr<Shader> shader, const glm::vec3& coefficients,
                                 float specularAlpha, std::shared_ptr<Texture> diffuseTexture)
    : Material(std::move(shader), coefficients, specularAlpha),
      diffuseTexture(std::move(diffuseTexture))
{
}

void TextureMaterial::setUniforms()
{
    shader->setUniform("materialCoefficients", coefficients);
    shader->setUniform("specularAlpha", specularAlpha);
    // Without a texture the unit keeps whatever it held, as with an invalid one.
    if (diffuseTexture)
        diffuseTexture->bind(0);
    shader->setUniform("diffuseTexture", 0);
}
