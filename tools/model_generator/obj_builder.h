// Collects triangles with positions, texture coordinates and normals and
// writes them as Wavefront OBJ text. Numbers are printed with four decimals
// so the output is byte-for-byte reproducible.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

class ObjBuilder {
public:
    // Returns the 0-based number of the new vertex.
    uint32_t addVertex(const glm::dvec3& position, const glm::dvec2& uv, const glm::dvec3& normal);

    // Adds a triangle wound counter-clockwise when seen from the side `facing`
    // points to, whatever the order of a, b and c.
    void addTriangleFacing(uint32_t a, uint32_t b, uint32_t c, const glm::dvec3& facing);

    // Moves every vertex by `offset`.
    void translate(const glm::dvec3& offset);

    // Smallest and largest corner of the box around all vertices.
    glm::dvec3 boundsMin() const;
    glm::dvec3 boundsMax() const;

    // OBJ text: the comment lines, one object named `name`, then v, vt, vn and f lines.
    std::string toObjText(const std::string& name, const std::vector<std::string>& comments) const;

private:
    struct Vertex {
        glm::dvec3 position;
        glm::dvec2 uv;
        glm::dvec3 normal;
    };
    std::vector<Vertex> vertices_;
    std::vector<uint32_t> triangles_;
};
