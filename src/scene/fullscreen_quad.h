// Two triangles covering clip space, with texture coordinates: attribute 0
// is the position (x, y), attribute 1 the coordinate (u, v).
#pragma once

#include <GL/glew.h>

class FullscreenQuad {
public:
    FullscreenQuad();
    ~FullscreenQuad();
    FullscreenQuad(const FullscreenQuad&) = delete;
    FullscreenQuad& operator=(const FullscreenQuad&) = delete;

    GLuint vertexArray() const { return vao; }

private:
    GLuint vao = 0;
    GLuint vbo = 0;
};
