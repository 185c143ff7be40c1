#include "obj_mesh.h"

#include "console.h"
#include "file_io.h"

#include <optional>
#include <sstream>

namespace {

// tinyobjloader passes through face indices past the end of the file's
// arrays, and relative (negative) ones it could not resolve, with at most a
// warning; such a position must never be read, and its face is left out.
bool positionIsReadable(const tinyobj::index_t& corner, size_t positionCount)
{
    return corner.vertex_index >= 0 && static_cast<size_t>(corner.vertex_index) < positionCount;
}

// A corner whose normal the file does not have gets none: (0, 0, 0).
void appendCorner(std::vector<float>& out, const tinyobj::attrib_t& attrib, const tinyobj::index_t& corner)
{
    const size_t v = 3 * static_cast<size_t>(corner.vertex_index);
    out.push_back(attrib.vertices[v]);
    out.push_back(attrib.vertices[v + 1]);
    out.push_back(attrib.vertices[v + 2]);
    const size_t normalCount = attrib.normals.size() / 3;
    if (corner.normal_index >= 0 && static_cast<size_t>(corner.normal_index) < normalCount) {
        const size_t n = 3 * static_cast<size_t>(corner.normal_index);
        out.push_back(attrib.normals[n]);
        out.push_back(attrib.normals[n + 1]);
        out.push_back(attrib.normals[n + 2]);
    } else {
        out.insert(out.end(), 3, 0.0f);
    }
}

}  // namespace

FlattenedObj flattenObjShapes(const tinyobj::attrib_t& attrib, const std::vector<tinyobj::shape_t>& shapes)
{
    FlattenedObj result;
    const size_t positionCount = attrib.vertices.size() / 3;
    std::vector<float>& out = result.mesh.vertices;

    for (const tinyobj::shape_t& shape : shapes) {
        const std::vector<tinyobj::index_t>& corners = shape.mesh.indices;
        // Triangulated faces come in threes; a stray remainder is no triangle.
        for (size_t first = 0; first + 3 <= corners.size(); first += 3) {
            const bool readable = positionIsReadable(corners[first], positionCount) &&
                                  positionIsReadable(corners[first + 1], positionCount) &&
                                  positionIsReadable(corners[first + 2], positionCount);
            if (!readable) {
                result.skippedFaces = true;
                continue;
            }
            for (size_t k = 0; k < 3; ++k)
                appendCorner(out, attrib, corners[first + k]);
        }
    }
    result.mesh.vertexCount = static_cast<uint32_t>(out.size() / 6);
    return result;
}

namespace {

// The text without its skin-weight ("vw") lines: the game has no use for
// them, and the reader turns their joint numbers into ints unchecked, which
// a number beyond int's range makes undefined. Lines end at a carriage
// return as well as a line feed, as they do for the reader.
std::string withoutSkinWeights(const std::string& text)
{
    std::string kept;
    kept.reserve(text.size() + 1);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        const std::size_t first = line.find_first_not_of(" \t");
        const bool skinWeight = first != std::string::npos && line.compare(first, 2, "vw") == 0 &&
                                first + 2 < line.size() && (line[first + 2] == ' ' || line[first + 2] == '\t');
        if (!skinWeight)
            kept += line + '\n';
        start = end + 1;
    }
    return kept;
}

}  // namespace

ObjMesh parseObjMesh(const std::string& text, const std::string& path)
{
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn;
    std::string err;
    std::istringstream stream(withoutSkinWeights(text));
    // No material reader: "mtllib" lines open nothing.
    const bool loaded =
        tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, &stream, nullptr, true, true);

    if (!err.empty())
        report(Severity::warning, "TinyObjLoader error:\n  " + err, Topic::models);
    if (!loaded) {
        report(Severity::warning, "Failed to load .obj: " + path, Topic::models);
        return {};
    }

    FlattenedObj flattened = flattenObjShapes(attrib, shapes);
    if (flattened.skippedFaces)
        report(Severity::warning, "Skipped faces with out-of-range indices in: " + path, Topic::models);
    return std::move(flattened.mesh);
}

ObjMesh loadObjMesh(const std::string& path)
{
    // The bytes are read here, so only a regular file is ever parsed: the
    // reader opening a named pipe itself would wait for it forever.
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) {
        // In the parsing library's own words, as when it opens the file itself.
        report(Severity::warning, "TinyObjLoader error:\n  Cannot open file [" + path + "]\n", Topic::models);
        report(Severity::warning, "Failed to load .obj: " + path, Topic::models);
        return {};
    }
    return parseObjMesh(*bytes, path);
}
