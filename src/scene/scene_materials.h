// The level's own materials. None sends the base coefficients: their
// programs light the wall, bake the light and draw clouds in ways of their own.
#pragma once

#include "framework/material.h"

#include <GL/glew.h>

#include <memory>

// The lightmap bake: the caller sets every uniform itself.
class LightmapMaterial : public Material {
public:
    explicit LightmapMaterial(std::shared_ptr<Shader> shader);
    void setUniforms() override {}
};

// The well wall: stone texture on unit 0, baked light on unit 1 (left active).
class WellLightmapMaterial : public Material {
public:
    WellLightmapMaterial(std::shared_ptr<Shader> shader, std::shared_ptr<Texture> diffuseTexture,
                         GLuint lightmapTexture);
    void setUniforms() override;

private:
    std::shared_ptr<Texture> diffuseTexture;
    GLuint lightmapTexture;  // owned by the lightmap
};

// The cloud layer: sends the animation time the frame wrote into it.
class ProceduralCloudMaterial : public Material {
public:
    explicit ProceduralCloudMaterial(std::shared_ptr<Shader> shader);
    void setUniforms() override;

    float time = 0.0f;
};
