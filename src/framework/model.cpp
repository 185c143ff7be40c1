#include "model.h"

#include "asset_path.h"
#include "console.h"
#include "file_io.h"
#include "material.h"
#include "shader.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

constexpr GLsizei vertexStride = 6 * sizeof(float);

// A model beside the working directory wins; otherwise the asset search
// finds it like every other asset (upwards, then in the data folders), so the
// game started from anywhere, or installed, still has its models. Not found
// anywhere: the path as given, which the reader then reports.
std::string findModelFile(const std::string& path)
{
    if (isReadableFile(path))
        return path;
    const std::string found = findAssetPath(path);
    return found.empty() ? path : found;
}

}  // namespace

glm::mat4 modelMatrixOf(const glm::vec3& position, const glm::vec3& rotationDegrees, const glm::vec3& scale)
{
    glm::mat4 matrix = glm::translate(glm::mat4(1.0f), position);
    matrix = glm::rotate(matrix, glm::radians(rotationDegrees.x), glm::vec3(1, 0, 0));
    matrix = glm::rotate(matrix, glm::radians(rotationDegrees.y), glm::vec3(0, 1, 0));
    matrix = glm::rotate(matrix, glm::radians(rotationDegrees.z), glm::vec3(0, 0, 1));
    return glm::scale(matrix, scale);
}

Model::Model(const std::string& path) : mesh(loadObjMesh(findModelFile(path)))
{
    setupMesh();
}

void Model::setupMesh()
{
    if (mesh.vertices.empty()) {
        report(Severity::warning, "Warning: Model::setupMesh() called but no vertex data loaded.", Topic::models);
        return;
    }
    vao = makeVertexArray();
    vbo = makeBuffer();
    glBindVertexArray(vao.get());
    glBindBuffer(GL_ARRAY_BUFFER, vbo.get());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.vertices.size() * sizeof(float)),
                 mesh.vertices.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, vertexStride, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, vertexStride, reinterpret_cast<const void*>(3 * sizeof(float)));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void Model::draw()
{
    if (material) {
        material->getShader()->use();
        material->setUniforms();
    }
    // An empty model has no vertex array; drawing nothing keeps GL quiet.
    if (!vao)
        return;
    glBindVertexArray(vao.get());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(mesh.vertexCount));
    glBindVertexArray(0);
}
