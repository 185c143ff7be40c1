// The light falling on the well wall, baked once at start-up into a 512 by
// 512 texture laid over the wall's own unit-square coordinates.
#pragma once

#include "framework/gl_handle.h"

class Geometry;
class Shader;
struct SceneLights;

class Lightmap {
public:
    static constexpr int size = 512;

    // Creates the texture, its depth buffer and framebuffer (left bound);
    // a framebuffer the driver refuses gets one line on standard output.
    Lightmap();

    // Draws the wall once into the lightmap with the bake program, filled,
    // unculled and opaque whatever the debug switches say, then binds the
    // window's framebuffer again with the viewport of the render targets and
    // the sky clear colour. Leaves the depth test on.
    void bake(Shader& bakeShader, Geometry& bakeGeometry, const SceneLights& lights, int viewportWidth,
              int viewportHeight) const;

    GLuint texture() const { return texture_.get(); }

private:
    TextureHandle texture_;
    RenderbufferHandle depthBuffer_;
    FramebufferHandle framebuffer_;
};
