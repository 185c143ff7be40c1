// The light falling on the well wall, baked once at start-up into a 512 by
// 512 texture laid over the wall's own unit-square coordinates.
#pragma once

#include <GL/glew.h>

class Geometry;
class Shader;
struct SceneLights;

class Lightmap {
public:
    static constexpr int size = 512;

    // Creates the texture, its depth buffer and framebuffer (left bound).
    Lightmap();
    ~Lightmap();
    Lightmap(const Lightmap&) = delete;
    Lightmap& operator=(const Lightmap&) = delete;

    GLuint texture() const { return texture_; }

private:
    GLuint texture_ = 0;
    GLuint depthBuffer_ = 0;
    GLuint framebuffer_ = 0;

    friend void bakeLightmap(const Lightmap&, Shader&, Geometry&, const SceneLights&, int, int);
};

// Draws the wall once into the lightmap with the bake program, then binds
// the window's framebuffer again with the viewport of the render targets
// and the sky clear colour. Leaves the depth test on.
void bakeLightmap(const Lightmap& lightmap, Shader& bakeShader, Geometry& bakeGeometry, const SceneLights& lights,
                  int viewportWidth, int viewportHeight);
