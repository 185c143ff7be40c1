#include "fullscreen_quad.h"

namespace {

// x, y, u, v; both triangles counter-clockwise, so culling never drops them.
constexpr float quadVertices[] = {
    -1.0f, 1.0f,  0.0f, 1.0f,  //
    -1.0f, -1.0f, 0.0f, 0.0f,  //
    1.0f,  -1.0f, 1.0f, 0.0f,  //
    -1.0f, 1.0f,  0.0f, 1.0f,  //
    1.0f,  -1.0f, 1.0f, 0.0f,  //
    1.0f,  1.0f,  1.0f, 1.0f,
};
constexpr GLsizei stride = 4 * sizeof(float);

}  // namespace

FullscreenQuad::FullscreenQuad() : vertexArray(makeVertexArray()), vertices(makeBuffer())
{
    glBindVertexArray(vertexArray.get());
    glBindBuffer(GL_ARRAY_BUFFER, vertices.get());
    glBufferData(GL_ARRAY_BUFFER, sizeof quadVertices, quadVertices, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(2 * sizeof(float)));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void FullscreenQuad::draw() const
{
    glBindVertexArray(vertexArray.get());
    glDrawArrays(GL_TRIANGLES, 0, 6);
}
