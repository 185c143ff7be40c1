#include "geometry.h"

#include "gl_names.h"
#include "material.h"
#include "shader.h"

#include <utility>

namespace {

// One tightly packed buffer for one attribute; enabled only when the array
// covers every vertex.
template <typename Vec>
GLuint uploadAttribute(const std::vector<Vec>& values, GLuint location, size_t vertexCount)
{
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
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
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    positionBuffer = uploadAttribute(data.positions, 0, vertexCount);
    normalBuffer = uploadAttribute(data.normals, 1, vertexCount);
    uvBuffer = uploadAttribute(data.uvs, 2, vertexCount);
    if (!data.lightmapUVs.empty())
        lightmapUVBuffer = uploadAttribute(data.lightmapUVs, 3, vertexCount);
    if (!data.extraVectors.empty())
        extraBuffer = uploadAttribute(data.extraVectors, 4, vertexCount);

    glGenBuffers(1, &indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);  // recorded by the bound vertex array
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.indices.size() * sizeof(uint32_t)),
                 data.indices.data(), GL_STATIC_DRAW);
    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

Geometry::~Geometry()
{
    release();
}

Geometry::Geometry(Geometry&& other) noexcept
    : vao(std::exchange(other.vao, 0)), positionBuffer(std::exchange(other.positionBuffer, 0)),
      extraBuffer(std::exchange(other.extraBuffer, 0)), normalBuffer(std::exchange(other.normalBuffer, 0)),
      uvBuffer(std::exchange(other.uvBuffer, 0)), lightmapUVBuffer(std::exchange(other.lightmapUVBuffer, 0)),
      indexBuffer(std::exchange(other.indexBuffer, 0)), elementCount(std::exchange(other.elementCount, 0)),
      material(std::move(other.material)), modelMatrix(other.modelMatrix)
{
}

Geometry& Geometry::operator=(Geometry&& other) noexcept
{
    if (this != &other) {
        release();
        vao = std::exchange(other.vao, 0);
        positionBuffer = std::exchange(other.positionBuffer, 0);
        extraBuffer = std::exchange(other.extraBuffer, 0);
        normalBuffer = std::exchange(other.normalBuffer, 0);
        uvBuffer = std::exchange(other.uvBuffer, 0);
        lightmapUVBuffer = std::exchange(other.lightmapUVBuffer, 0);
        indexBuffer = std::exchange(other.indexBuffer, 0);
        elementCount = std::exchange(other.elementCount, 0);
        material = std::move(other.material);
        modelMatrix = other.modelMatrix;
    }
    return *this;
}

void Geometry::release()
{
    deleteBuffer(positionBuffer);
    deleteBuffer(normalBuffer);
    deleteBuffer(uvBuffer);
    deleteBuffer(lightmapUVBuffer);
    deleteBuffer(extraBuffer);
    deleteBuffer(indexBuffer);
    deleteVertexArray(vao);
    material.reset();
}

void Geometry::draw()
{
    Shader& shader = *material->getShader();
    shader.use();
    shader.setUniform("modelMatrix", modelMatrix);
    shader.setUniform("normalMatrix", normalMatrixOf(modelMatrix));
    material->setUniforms();
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, elementCount, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}
