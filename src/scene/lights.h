// The level's three lights as plain records, and the uniform blocks that
// carry them to the programs.
#pragma once

#include <glm/glm.hpp>

class Shader;

struct DirectionalLight {
    DirectionalLight(const glm::vec3& color, const glm::vec3& direction, bool enabled);
    bool enabled;
    glm::vec3 color;
    glm::vec3 direction;  // unit length
};

struct PointLight {
    PointLight(const glm::vec3& color, const glm::vec3& position, const glm::vec3& attenuation, bool enabled);
    bool enabled;
    glm::vec3 color;
    glm::vec3 position;
    glm::vec3 attenuation;  // constant, linear, quadratic
};

struct SceneLights {
    DirectionalLight directional;
    PointLight point;
    PointLight fairy;  // follows the fairy
};

// Sky light from above, a white light mid-well and the fairy's blue glow at its start.
SceneLights makeSceneLights();

// "dirL.*", "pointL.*", "fairyL.*" in that order; the program must be current.
void setLightBlock(Shader& shader, const SceneLights& lights);

// The same values under the wall program's names "dirLight.*" and "pointLight.*".
void setWallLightBlock(Shader& shader, const SceneLights& lights);
