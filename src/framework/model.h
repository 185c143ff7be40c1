// A static triangle mesh read from an OBJ file (relative to the working
// directory when it is there, else found by the upward asset search), drawn
// with one shared material and placed by
// a position, rotations in degrees about x, y and z, and a scale. A model
// whose file could not be read stays empty and draws nothing.
#pragma once

#include "gl_handle.h"
#include "obj_mesh.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <memory>
#include <string>

class Material;

// translate(position) * Rx * Ry * Rz * scale: scaled first, then rotated
// about z, y and x, then moved.
glm::mat4 modelMatrixOf(const glm::vec3& position, const glm::vec3& rotationDegrees, const glm::vec3& scale);

class Model {
public:
    explicit Model(const std::string& path);

    void setMaterial(const std::shared_ptr<Material>& newMaterial) { material = newMaterial; }
    void setPosition(const glm::vec3& value) { position = value; }
    void setRotation(const glm::vec3& degrees) { rotation = degrees; }
    void setScale(const glm::vec3& value) { scale = value; }

    glm::mat4 getModelMatrix() const { return modelMatrixOf(position, rotation, scale); }

    // With a material: its program is made current and its uniforms set.
    // The caller sets "modelMatrix" and "normalMatrix" on that program beforehand.
    void draw();

private:
    void setupMesh();

    ObjMesh mesh;
    VertexArrayHandle vao;
    BufferHandle vbo;
    glm::vec3 position{0.0f};
    glm::vec3 rotation{0.0f};
    glm::vec3 scale{1.0f};
    std::shared_ptr<Material> material;
};
