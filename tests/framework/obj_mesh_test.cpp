// Reading and flattening OBJ text: vertex order, normals, the exact error
// lines, faces that name vertices the file does not have, and the shipped
// models.
#include "framework/obj_mesh.h"

#include "framework/console.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include <sys/stat.h>

namespace {

struct Parsed {
    ObjMesh mesh;
    std::string errors;  // everything printed on standard error
};

// OBJ text read as "model.obj", or with `fromFile` the file at that path.
Parsed parse(const std::string& text, bool fromFile = false)
{
    const CapturedConsole console;
    Parsed parsed;
    parsed.mesh = fromFile ? loadObjMesh(text) : parseObjMesh(text, "model.obj");
    parsed.errors = console.text(StandardStream::error);
    return parsed;
}

glm::vec3 position(const ObjMesh& mesh, size_t vertex)
{
    return {mesh.vertices[6 * vertex], mesh.vertices[6 * vertex + 1], mesh.vertices[6 * vertex + 2]};
}

glm::vec3 normal(const ObjMesh& mesh, size_t vertex)
{
    return {mesh.vertices[6 * vertex + 3], mesh.vertices[6 * vertex + 4], mesh.vertices[6 * vertex + 5]};
}

const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\n";

}  // namespace

TEST(ObjMesh, FacesBecomeTrianglesInFileOrderWithTheirOwnNormals)
{
    // A quad without normals: two triangles, every normal zero.
    const Parsed quad = parse("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
    ASSERT_EQ(quad.mesh.vertexCount, 6u);
    EXPECT_EQ(quad.mesh.vertices.size(), 36u);
    for (size_t v = 0; v < 6; ++v)
        EXPECT_EQ(normal(quad.mesh, v), glm::vec3(0.0f));

    // Two shapes, the first first; normals by their own indices; relative indices count back.
    const Parsed shapes = parse("o a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvn 1 0 0\nvn 0 1 0\nf 1//2 2//1 3//2\n"
                                "o b\nv 5 5 5\nv 6 5 5\nv 5 6 5\nf -3 -2 -1\n");
    ASSERT_EQ(shapes.mesh.vertexCount, 6u);
    EXPECT_EQ(position(shapes.mesh, 1), glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(normal(shapes.mesh, 0), glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(normal(shapes.mesh, 1), glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(position(shapes.mesh, 3), glm::vec3(5.0f, 5.0f, 5.0f));
    EXPECT_EQ(shapes.errors, "");
}

// Only a position the file lacks drops a face, once reported; a normal it
// lacks becomes (0, 0, 0). Nothing outside the file's arrays is ever read.
TEST(ObjMesh, FacesNamingMissingVerticesAreLeftOutAndMissingNormalsAreZero)
{
    const Parsed parsed = parse(triangle +
                                "f 1//1 2//1 3//1\n"    // kept
                                "f 1 2 9\n"             // vertex past the end
                                "f 1//1 2//4 3//1\n"    // normal past the end: kept, one zero normal
                                "f -7 1 2\n"            // relative index before the first vertex
                                "f 1//-5 2//1 3//1\n"   // relative normal before the first: kept
                                "f 1 2 3 9\n"           // quad with a vertex past the end
                                "f 3//1 2//1 1//1\n");  // kept
    EXPECT_EQ(parsed.errors, "Skipped faces with out-of-range indices in: model.obj\n");
    ASSERT_EQ(parsed.mesh.vertexCount, 12u);
    const glm::vec3 z(0.0f, 0.0f, 1.0f);
    const std::vector<glm::vec3> expected{z, z, z, z, glm::vec3(0.0f), z, glm::vec3(0.0f), z, z, z, z, z};
    for (size_t v = 0; v < 12; ++v)
        EXPECT_EQ(normal(parsed.mesh, v), expected[v]) << "vertex " << v;
    EXPECT_EQ(position(parsed.mesh, 9), glm::vec3(0.0f, 1.0f, 0.0f));

    const Parsed noNormals = parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1//1 2//1 3//1\n");
    EXPECT_EQ(noNormals.errors, "");
    ASSERT_EQ(noNormals.mesh.vertexCount, 3u);
    EXPECT_EQ(normal(noNormals.mesh, 2), glm::vec3(0.0f));

    tinyobj::attrib_t attrib;
    attrib.vertices = {0, 0, 0};
    tinyobj::shape_t shape;
    shape.mesh.indices = {{0, -1, -1}, {0x7fffffff, -1, -1}, {-0x7fffffff - 1, -1, -1}, {0, 0, 0}};
    const FlattenedObj flat = flattenObjShapes(attrib, {shape});
    EXPECT_TRUE(flat.skippedFaces);
    EXPECT_EQ(flat.mesh.vertexCount, 0u);  // and the stray fourth corner is no triangle
}

TEST(ObjMesh, UnreadableFilesAndReaderErrorsAreReportedWithTheirLines)
{
    // A named pipe is no file: reported at once, never waited on. (A missing
    // file's lines are MeshTest's, through the model that loads it.)
    const std::string dir = makeScratchDir("obj_mesh_unreadable");
    ASSERT_EQ(mkfifo((dir + "/pipe.obj").c_str(), 0600), 0);
    EXPECT_EQ(parse(dir + "/pipe.obj", true).mesh.vertexCount, 0u);

    // Index 0 does not exist in OBJ numbering; the reader gives up on it.
    const Parsed zero = parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n");
    EXPECT_EQ(zero.errors.rfind("TinyObjLoader error:\n  ", 0), 0u) << zero.errors;
    EXPECT_NE(zero.errors.find("\nFailed to load .obj: model.obj\n"), std::string::npos);
    EXPECT_EQ(zero.mesh.vertexCount, 0u);

    for (const std::string& text : {std::string(), std::string("# faceless\nv 0 0 0\nf\nf 1\nf 1 2\n")}) {
        const Parsed empty = parse(text);
        EXPECT_EQ(empty.errors, "");
        EXPECT_EQ(empty.mesh.vertexCount, 0u);
    }
}

// The models the game ships read cleanly, every triangle wound towards its
// normals. (The scene's tests see the flag stand in the cloud where the level puts both.)
TEST(ObjMesh, TheShippedModelsReadCleanlyWoundTowardsTheirNormals)
{
    for (const char* name : {"Wings.obj", "flag.obj", "cloud.obj"}) {
        const Parsed model = parse(sourceDir() + "/assets/objects/" + name, true);
        EXPECT_EQ(model.errors, "") << name;
        ASSERT_GT(model.mesh.vertexCount, 0u) << name;
        for (size_t first = 0; first < model.mesh.vertexCount; first += 3) {
            const glm::vec3 a = position(model.mesh, first);
            const glm::vec3 face = glm::cross(position(model.mesh, first + 1) - a, position(model.mesh, first + 2) - a);
            const glm::vec3 stored = normal(model.mesh, first) + normal(model.mesh, first + 1) + normal(model.mesh, first + 2);
            EXPECT_GT(glm::dot(face, stored), 0.0f) << name << " triangle " << first / 3;
        }
    }
}
