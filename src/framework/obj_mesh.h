// Reads a Wavefront OBJ file with tinyobjloader and flattens its triangles
// into one plain array of positions and normals. No GL here: Model uploads
// the result. Texture coordinates and materials in the file are ignored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <tiny_obj_loader.h>

struct ObjMesh {
    std::vector<float> vertices;  // per vertex: x, y, z, nx, ny, nz
    uint32_t vertexCount = 0;     // vertices.size() / 6
};

struct FlattenedObj {
    ObjMesh mesh;
    // True when at least one triangle named a position the file does not
    // have and was therefore left out.
    bool skippedFaces = false;
};

// Every triangle of every shape, in file order, three vertices each. A
// vertex without a normal, or naming one the file lacks, gets (0, 0, 0).
FlattenedObj flattenObjShapes(const tinyobj::attrib_t& attrib, const std::vector<tinyobj::shape_t>& shapes);

// Parses and flattens OBJ text; `path` only names the file in the messages.
// Reader errors are reported about models (Topic::models); the mesh is then what could
// be read, or empty. Material libraries are never opened.
ObjMesh parseObjMesh(const std::string& text, const std::string& path);

// Reads a regular file at `path` (used as given, not searched for) and
// parses it; a file that cannot be read gives the reader's missing-file lines.
ObjMesh loadObjMesh(const std::string& path);
