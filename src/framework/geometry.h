// An indexed triangle mesh on the GPU: one vertex array, one buffer per
// attribute, an index buffer, a shared material and a model matrix. The CPU
// arrays are not kept after the upload.
#pragma once

#include "geometry_data.h"
#include "gl_handle.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <memory>

class Material;

// The matrix that carries normals through `model`: the upper-left 3x3 of the
// transpose of its inverse.
glm::mat3 normalMatrixOf(const glm::mat4& model);

class Geometry {
public:
    // Uploads `data` (static buffers): positions to attribute 0, normals 1,
    // uvs 2, lightmapUVs 3 and extraVectors 4. An attribute is enabled only
    // when its array holds one entry per vertex, so a short array can never
    // be read past its end; the optional ones get no buffer when empty.
    Geometry(const glm::mat4& modelMatrix, const GeometryData& data, std::shared_ptr<Material> material);

    // Makes the material's program current, sets "modelMatrix" and
    // "normalMatrix", lets the material set its uniforms and draws.
    void draw();

    void resetModelMatrix() { modelMatrix = glm::mat4(1.0f); }
    // Applies `matrix` after the current transformation.
    void transform(const glm::mat4& matrix) { modelMatrix = matrix * modelMatrix; }
    const glm::mat4& getModelMatrix() const { return modelMatrix; }

private:
    // The vertex array goes last, after the buffers it refers to.
    VertexArrayHandle vao;
    BufferHandle positionBuffer;
    BufferHandle normalBuffer;
    BufferHandle uvBuffer;
    BufferHandle lightmapUVBuffer;
    BufferHandle extraBuffer;
    BufferHandle indexBuffer;
    GLsizei elementCount = 0;
    std::shared_ptr<Material> material;
    glm::mat4 modelMatrix;
};
