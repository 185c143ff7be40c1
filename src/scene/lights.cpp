#include "lights.h"

#include "framework/shader.h"

DirectionalLight::DirectionalLight(const glm::vec3& color, const glm::vec3& direction, bool enabled)
    : enabled(enabled), color(color), direction(glm::normalize(direction))
{
}

PointLight::PointLight(const glm::vec3& color, const glm::vec3& position, const glm::vec3& attenuation,
                       bool enabled)
    : enabled(enabled), color(color), position(position), attenuation(attenuation)
{
}

SceneLights makeSceneLights()
{
    return SceneLights{
        DirectionalLight(glm::vec3(1.35f, 1.35f, 1.05f), glm::vec3(0.3f, -1.0f, 0.3f), true),
        PointLight(glm::vec3(1.0f), glm::vec3(0.0f, 10.0f, 0.0f), glm::vec3(1.0f, 0.4f, 0.1f), true),
        PointLight(glm::vec3(0.5f, 0.5f, 1.0f), glm::vec3(0.0f, 5.0f, 0.0f), glm::vec3(1.0f, 0.1f, 0.02f), true)};
}

namespace {

void setFairyLight(Shader& shader, const PointLight& fairy)
{
    shader.setUniform("fairyL.color", fairy.color);
    shader.setUniform("fairyL.position", fairy.position);
    shader.setUniform("fairyL.attenuation", fairy.attenuation);
}

}  // namespace

void setLightBlock(Shader& shader, const SceneLights& lights)
{
    shader.setUniform("dirL.color", lights.directional.color);
    shader.setUniform("dirL.direction", lights.directional.direction);
    shader.setUniform("pointL.color", lights.point.color);
    shader.setUniform("pointL.position", lights.point.position);
    shader.setUniform("pointL.attenuation", lights.point.attenuation);
    setFairyLight(shader, lights.fairy);
}

void setWallLightBlock(Shader& shader, const SceneLights& lights)
{
    shader.setUniform("dirLight.color", lights.directional.color);
    shader.setUniform("dirLight.direction", lights.directional.direction);
    shader.setUniform("pointLight.color", lights.point.color);
    shader.setUniform("pointLight.position", lights.point.position);
    shader.setUniform("pointLight.attenuation", lights.point.attenuation);
    setFairyLight(shader, lights.fairy);
}
