// Two triangles covering clip space, with texture coordinates: attribute 0
// is the position (x, y), attribute 1 the coordinate (u, v).
#pragma once

#include "framework/gl_handle.h"

class FullscreenQuad {
public:
    FullscreenQuad();

    // Binds the quad's vertex array and draws both triangles.
    void draw() const;

private:
    VertexArrayHandle vertexArray;
    BufferHandle vertices;
};
