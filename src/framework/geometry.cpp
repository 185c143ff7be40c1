#include "geometry.h"

#include "material.h"
#include "shader.h"

#include <utility>

namespace {

// One tightly packed buffer for one attribute; enabled only when the array
// covers every vertex.
template <typename Vec>
BufferHandle uploadAttribute(const std::vector<Vec>& values, GLuint location, size_t vertexCount)
{
    BufferHandle buffer = makeBuffer();
    glBindBuffer(GL_ARRAY_BUFFER, buffer.get());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(values.size() * sizeof(Vec)), values.data(),
                 GL_STATIC_DRAW);
    if (!values.empty() && values.size() == vertexCount) {
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, Vec::length(), GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    return buffer;
}

}  // namespace

glm::mat3 normalMatrixOf(const glm::mat4& model)
{
    return glm::mat3(glm::transpose(glm::inverse(model)));
}

Geometry::Geometry(const glm::mat4& modelMatrix, const GeometryData& data, std::shared_ptr<Material> material)
    : elementCount(static_cast<GLsizei>(data.indices.size())), material(std::move(material)),
      modelMatrix(modelMatrix)
{
    const size_t vertexCount = data.positions.size();
    vao = makeVertexArray();
    glBindVertexArray(vao.get());
    positionBuffer = uploadAttribute(data.positions, 0, vertexCount);
    normalBuffer = uploadAttribute(data.normals, 1, vertexCount);
    uvBuffer = uploadAttribute(data.uvs, 2, vertexCount);
    if (!data.lightmapUVs.empty())
        lightmapUVBuffer = uploadAttribute(data.lightmapUVs, 3, vertexCount);
    if (!data.extraVectors.empty())
        extraBuffer = uploadAttribute(data.extraVectors, 4, vertexCount);

    indexBuffer = makeBuffer();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer.get());  // recorded by the bound vertex array
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.indices.size() * sizeof(uint32_t)),
                 data.indices.data(), GL_STATIC_DRAW);
    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void Geometry::draw()
{
    Shader& shader = *material->getShader();
    shader.use();
    shader.setUniform("modelMatrix", modelMatrix);
    shader.setUniform("normalMatrix", normalMatrixOf(modelMatrix));
    material->setUniforms();
    glBindVertexArray(vao.get());
    glDrawElements(GL_TRIANGLES, elementCount, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}
