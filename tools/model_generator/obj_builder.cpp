#include "obj_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <glm/geometric.hpp>

namespace {

// Four decimals; a value that rounds to zero is written "0.0000", never "-0.0000".
std::string number(double value)
{
    const double rounded = std::round(value * 10000.0) / 10000.0;
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", rounded == 0.0 ? 0.0 : rounded);
    return text;
}

}  // namespace

uint32_t ObjBuilder::addVertex(const glm::dvec3& position, const glm::dvec2& uv, const glm::dvec3& normal)
{
    vertices_.push_back({position, uv, glm::normalize(normal)});
    return static_cast<uint32_t>(vertices_.size() - 1);
}

void ObjBuilder::addTriangleFacing(uint32_t a, uint32_t b, uint32_t c, const glm::dvec3& facing)
{
    const glm::dvec3 pa = vertices_[a].position;
    const glm::dvec3 pb = vertices_[b].position;
    const glm::dvec3 pc = vertices_[c].position;
    if (glm::dot(glm::cross(pb - pa, pc - pa), facing) < 0.0)
        std::swap(b, c);
    triangles_.insert(triangles_.end(), {a, b, c});
}

void ObjBuilder::translate(const glm::dvec3& offset)
{
    for (Vertex& vertex : vertices_)
        vertex.position += offset;
}

glm::dvec3 ObjBuilder::boundsMin() const
{
    glm::dvec3 low(HUGE_VAL);
    for (const Vertex& vertex : vertices_)
        low = glm::min(low, vertex.position);
    return low;
}

glm::dvec3 ObjBuilder::boundsMax() const
{
    glm::dvec3 high(-HUGE_VAL);
    for (const Vertex& vertex : vertices_)
        high = glm::max(high, vertex.position);
    return high;
}

std::string ObjBuilder::toObjText(const std::string& name, const std::vector<std::string>& comments) const
{
    std::string text;
    for (const std::string& comment : comments)
        text += "# " + comment + "\n";
    text += "o " + name + "\n";
    for (const Vertex& v : vertices_)
        text += "v " + number(v.position.x) + " " + number(v.position.y) + " " + number(v.position.z) + "\n";
    for (const Vertex& v : vertices_)
        text += "vt " + number(v.uv.x) + " " + number(v.uv.y) + "\n";
    for (const Vertex& v : vertices_)
        text += "vn " + number(v.normal.x) + " " + number(v.normal.y) + " " + number(v.normal.z) + "\n";
    for (size_t t = 0; t < triangles_.size(); t += 3) {
        text += "f";
        for (size_t k = 0; k < 3; ++k) {
            // OBJ numbers from 1; every vertex has its own vt and vn line.
            const std::string index = std::to_string(triangles_[t + k] + 1);
            text += " " + index + "/" + index + "/" + index;
        }
        text += "\n";
    }
    return text;
}
