// Materials: a shared Shader plus the per-object constants and textures it
// needs. setUniforms sends them to the shader, which the caller has already
// made current; it neither makes the program current nor restores the active
// texture unit. The scene's own materials derive from Material.
#pragma once

#include <glm/glm.hpp>

#include <memory>

class Shader;
class Texture;

class Material {
public:
    Material(std::shared_ptr<Shader> shader, const glm::vec3& coefficients, float specularAlpha);
    virtual ~Material() = default;

    Material(const Material&) = delete;
    Material& operator=(const Material&) = delete;

    // Sends "materialCoefficients" (vec3), then "specularAlpha" (float).
    virtual void setUniforms();

    // The shader that draws with this material; no share is taken.
    Shader* getShader() const { return shader.get(); }

protected:
    std::shared_ptr<Shader> shader;
    glm::vec3 coefficients;
    float specularAlpha;
};

class TextureMaterial : public Material {
public:
    TextureMaterial(std::shared_ptr<Shader> shader, const glm::vec3& coefficients, float specularAlpha,
                    std::shared_ptr<Texture> diffuseTexture);

    // The two Material uniforms, then the texture on unit 0 and
    // "diffuseTexture" = 0. Unit 0 is left active.
    void setUniforms() override;

protected:
    std::shared_ptr<Texture> diffuseTexture;
};
