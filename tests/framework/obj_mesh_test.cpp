// Reading and flattening OBJ files: vertex order, normals, the exact error
// lines, files that name vertices they do not have, and the shipped models.
#include "framework/obj_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include "support/test_paths.h"

namespace {

struct Loaded {
    ObjMesh mesh;
    std::string errors;  // everything printed on standard error
};

Loaded loadCapturingErrors(const std::string& path)
{
    testing::internal::CaptureStderr();
    Loaded loaded;
    loaded.mesh = loadObjMesh(path);
    loaded.errors = testing::internal::GetCapturedStderr();
    return loaded;
}

Loaded loadText(const std::string& testName, const std::string& text)
{
    const std::string path = makeScratchDir("obj_mesh_" + testName) + "/model.obj";
    writeFile(path, text);
    return loadCapturingErrors(path);
}

glm::vec3 position(const ObjMesh& mesh, size_t vertex)
{
    return {mesh.vertices[6 * vertex], mesh.vertices[6 * vertex + 1], mesh.vertices[6 * vertex + 2]};
}

glm::vec3 normal(const ObjMesh& mesh, size_t vertex)
{
    return {mesh.vertices[6 * vertex + 3], mesh.vertices[6 * vertex + 4], mesh.vertices[6 * vertex + 5]};
}

// `count` separate triangles in the plane z = 0, shifted right by `xOffset`.
std::string triangleStrip(int count, float xOffset, int firstVertex)
{
    std::ostringstream text;
    for (int t = 0; t < count; ++t) {
        const float x = xOffset + static_cast<float>(t);
        text << "v " << x << " 0 0\nv " << x + 1 << " 0 0\nv " << x << " 1 0\n";
    }
    for (int t = 0; t < count; ++t) {
        const int base = firstVertex + 3 * t;
        text << "f " << base << " " << base + 1 << " " << base + 2 << "\n";
    }
    return text.str();
}

const char* const kOneGoodTriangle =
    "v 0 0 0\n"
    "v 1 0 0\n"
    "v 0 1 0\n"
    "vn 0 0 1\n";

}  // namespace

TEST(ObjMesh, QuadWithoutNormalsBecomesTwoTrianglesWithZeroNormals)
{
    const Loaded loaded = loadText("quad", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
    EXPECT_EQ(loaded.errors, "");
    ASSERT_EQ(loaded.mesh.vertexCount, 6u);
    ASSERT_EQ(loaded.mesh.vertices.size(), 36u);
    for (size_t v = 0; v < 6; ++v)
        EXPECT_EQ(normal(loaded.mesh, v), glm::vec3(0.0f));
    for (size_t v = 0; v < 6; ++v) {
        const glm::vec3 p = position(loaded.mesh, v);
        EXPECT_TRUE(p.x == 0.0f || p.x == 1.0f);
        EXPECT_TRUE(p.y == 0.0f || p.y == 1.0f);
    }
}

TEST(ObjMesh, ShapesAreFlattenedInFileOrder)
{
    const std::string text = "o first\n" + triangleStrip(10, 0.0f, 1) + "o second\n" + triangleStrip(20, 100.0f, 31);
    const Loaded loaded = loadText("two_shapes", text);
    EXPECT_EQ(loaded.errors, "");
    ASSERT_EQ(loaded.mesh.vertexCount, 90u);
    for (size_t v = 0; v < 30; ++v)
        EXPECT_LT(position(loaded.mesh, v).x, 100.0f) << "vertex " << v;
    for (size_t v = 30; v < 90; ++v)
        EXPECT_GE(position(loaded.mesh, v).x, 100.0f) << "vertex " << v;
    EXPECT_EQ(position(loaded.mesh, 0), glm::vec3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(position(loaded.mesh, 1), glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(position(loaded.mesh, 2), glm::vec3(0.0f, 1.0f, 0.0f));
}

TEST(ObjMesh, NormalsComeFromTheirOwnIndices)
{
    const Loaded loaded = loadText("normals",
                                   "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                                   "vn 1 0 0\nvn 0 1 0\nvn 0 0 1\n"
                                   "vt 0 0\n"
                                   "f 1//3 2//2 3//1\n"
                                   "f 1/1/2 2/1/2 3/1/2\n"
                                   "f 1 2 3\n");
    EXPECT_EQ(loaded.errors, "");
    ASSERT_EQ(loaded.mesh.vertexCount, 9u);
    EXPECT_EQ(normal(loaded.mesh, 0), glm::vec3(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(normal(loaded.mesh, 1), glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(normal(loaded.mesh, 2), glm::vec3(1.0f, 0.0f, 0.0f));
    for (size_t v = 3; v < 6; ++v)
        EXPECT_EQ(normal(loaded.mesh, v), glm::vec3(0.0f, 1.0f, 0.0f));
    // A face without normal indices in a file that has normals.
    for (size_t v = 6; v < 9; ++v)
        EXPECT_EQ(normal(loaded.mesh, v), glm::vec3(0.0f));
}

TEST(ObjMesh, RelativeIndicesCountBackFromTheLastVertex)
{
    const Loaded loaded = loadText("relative", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\nf -3//-1 -2//-1 -1//-1\n");
    EXPECT_EQ(loaded.errors, "");
    ASSERT_EQ(loaded.mesh.vertexCount, 3u);
    EXPECT_EQ(position(loaded.mesh, 2), glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(normal(loaded.mesh, 2), glm::vec3(0.0f, 0.0f, 1.0f));
}

TEST(ObjMesh, MissingFilePrintsTheReaderErrorAndFailureLine)
{
    const std::string path = makeScratchDir("obj_mesh_missing") + "/absent.obj";
    const Loaded loaded = loadCapturingErrors(path);
    EXPECT_EQ(loaded.errors, "TinyObjLoader error:\n  Cannot open file [" + path + "]\n\n" +
                                 "Failed to load .obj: " + path + "\n");
    EXPECT_EQ(loaded.mesh.vertexCount, 0u);
    EXPECT_TRUE(loaded.mesh.vertices.empty());
}

TEST(ObjMesh, EmptyAndFacelessFilesGiveAnEmptyMeshSilently)
{
    const Loaded empty = loadText("empty", "");
    EXPECT_EQ(empty.errors, "");
    EXPECT_EQ(empty.mesh.vertexCount, 0u);
    EXPECT_TRUE(empty.mesh.vertices.empty());

    const Loaded faceless = loadText("faceless", "# only points\nv 0 0 0\nv 1 0 0\nvn 0 1 0\nvt 0 0\n");
    EXPECT_EQ(faceless.errors, "");
    EXPECT_EQ(faceless.mesh.vertexCount, 0u);
    EXPECT_TRUE(faceless.mesh.vertices.empty());
}

// Only a position the file lacks drops a face; a normal it lacks becomes (0, 0, 0).
TEST(ObjMesh, FacesNamingMissingVerticesAreLeftOutAndMissingNormalsAreZero)
{
    const std::string text = std::string(kOneGoodTriangle) +
                             "f 1//1 2//1 3//1\n"    // kept
                             "f 1 2 9\n"             // vertex past the end
                             "f 1//1 2//4 3//1\n"    // normal past the end: kept, one zero normal
                             "f -7 1 2\n"            // relative index before the first vertex
                             "f 1//-5 2//1 3//1\n"   // relative normal before the first normal: kept
                             "f 1 2 3 9\n"           // quad with a vertex past the end
                             "f 3//1 2//1 1//1\n";   // kept
    const std::string path = makeScratchDir("obj_mesh_out_of_range") + "/model.obj";
    writeFile(path, text);
    const Loaded loaded = loadCapturingErrors(path);
    EXPECT_EQ(loaded.errors, "Skipped faces with out-of-range indices in: " + path + "\n");
    ASSERT_EQ(loaded.mesh.vertexCount, 12u);
    const glm::vec3 up(0.0f, 0.0f, 1.0f);
    const std::vector<glm::vec3> expected{up, up, up, up, glm::vec3(0.0f), up, glm::vec3(0.0f), up, up, up, up, up};
    for (size_t v = 0; v < 12; ++v)
        EXPECT_EQ(normal(loaded.mesh, v), expected[v]) << "vertex " << v;
    EXPECT_EQ(position(loaded.mesh, 9), glm::vec3(0.0f, 1.0f, 0.0f));
}

TEST(ObjMesh, PolygonWithAMissingCornerKeepsOnlyItsReadableTriangles)
{
    const std::string path = makeScratchDir("obj_mesh_polygon") + "/model.obj";
    writeFile(path, std::string(kOneGoodTriangle) + "v 1 1 0\nf 1 2 4 3 9\n");
    const Loaded loaded = loadCapturingErrors(path);
    EXPECT_EQ(loaded.errors, "Skipped faces with out-of-range indices in: " + path + "\n");
    EXPECT_LT(loaded.mesh.vertexCount, 9u);
    EXPECT_EQ(loaded.mesh.vertexCount % 3, 0u);
    for (size_t v = 0; v < loaded.mesh.vertexCount; ++v) {
        const glm::vec3 p = position(loaded.mesh, v);
        EXPECT_TRUE((p.x == 0.0f || p.x == 1.0f) && (p.y == 0.0f || p.y == 1.0f) && p.z == 0.0f);
    }
}

TEST(ObjMesh, NormalIndicesInAFileWithoutNormalsGiveZeroNormals)
{
    const Loaded loaded = loadText("no_normals", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1//1 2//1 3//1\nf 1 2 3\n");
    EXPECT_EQ(loaded.errors, "");
    ASSERT_EQ(loaded.mesh.vertexCount, 6u);
    for (size_t v = 0; v < 6; ++v)
        EXPECT_EQ(normal(loaded.mesh, v), glm::vec3(0.0f));
}

TEST(ObjMesh, DegenerateFacesDoNotBreakTheRest)
{
    const Loaded loaded = loadText("degenerate",
                                   "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                                   "f\nf 1\nf 1 2\n"
                                   "f 1 1 1\n"
                                   "f 1 2 3\n");
    // The reader drops faces with fewer than three corners; a zero-area
    // triangle is still a triangle.
    EXPECT_EQ(loaded.errors, "");
    EXPECT_EQ(loaded.mesh.vertexCount, 6u);
}

TEST(ObjMesh, ReaderFailureIsReportedWithBothLines)
{
    // Index 0 does not exist in OBJ numbering; the reader gives up on it.
    const std::string path = makeScratchDir("obj_mesh_zero_index") + "/model.obj";
    writeFile(path, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n");
    const Loaded loaded = loadCapturingErrors(path);
    EXPECT_EQ(loaded.errors.rfind("TinyObjLoader error:\n  ", 0), 0u) << loaded.errors;
    const std::string failure = "Failed to load .obj: " + path + "\n";
    ASSERT_GE(loaded.errors.size(), failure.size());
    EXPECT_EQ(loaded.errors.substr(loaded.errors.size() - failure.size()), failure);
    EXPECT_EQ(loaded.mesh.vertexCount, 0u);
}

TEST(FlattenObjShapes, DropsAStrayRemainderAndKeepsWholeTriangles)
{
    tinyobj::attrib_t attrib;
    attrib.vertices = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    attrib.normals = {0, 0, 1};
    tinyobj::shape_t shape;
    auto corner = [](int v, int n) { return tinyobj::index_t{v, n, -1}; };
    shape.mesh.indices = {corner(0, 0), corner(1, -1), corner(2, 0), corner(0, 0), corner(1, 0)};
    const FlattenedObj flat = flattenObjShapes(attrib, {shape});
    EXPECT_FALSE(flat.skippedFaces);
    ASSERT_EQ(flat.mesh.vertexCount, 3u);
    EXPECT_EQ(flat.mesh.vertices,
              (std::vector<float>{0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1}));
}

TEST(FlattenObjShapes, IndexBeyondAnyIntFitsNoVertex)
{
    tinyobj::attrib_t attrib;
    attrib.vertices = {0, 0, 0};
    tinyobj::shape_t shape;
    shape.mesh.indices = {tinyobj::index_t{0, -1, -1}, tinyobj::index_t{0x7fffffff, -1, -1},
                          tinyobj::index_t{-0x7fffffff - 1, -1, -1}};
    const FlattenedObj flat = flattenObjShapes(attrib, {shape});
    EXPECT_TRUE(flat.skippedFaces);
    EXPECT_EQ(flat.mesh.vertexCount, 0u);
}

namespace {

struct Bounds {
    glm::vec3 low{1e30f};
    glm::vec3 high{-1e30f};
};

Bounds boundsOf(const ObjMesh& mesh)
{
    Bounds bounds;
    for (size_t v = 0; v < mesh.vertexCount; ++v) {
        bounds.low = glm::min(bounds.low, position(mesh, v));
        bounds.high = glm::max(bounds.high, position(mesh, v));
    }
    return bounds;
}

ObjMesh loadShipped(const std::string& name)
{
    const Loaded loaded = loadCapturingErrors(sourceDir() + "/assets/objects/" + name);
    EXPECT_EQ(loaded.errors, "") << name;
    return loaded.mesh;
}

}  // namespace

TEST(ShippedModels, LoadCleanlyAndWindTowardsTheirNormals)
{
    for (const char* name : {"Wings.obj", "flag.obj", "cloud.obj"}) {
        SCOPED_TRACE(name);
        const ObjMesh mesh = loadShipped(name);
        ASSERT_GT(mesh.vertexCount, 0u);
        ASSERT_EQ(mesh.vertexCount % 3, 0u);
        size_t misfits = 0;
        for (size_t first = 0; first < mesh.vertexCount; first += 3) {
            const glm::vec3 a = position(mesh, first);
            const glm::vec3 faceNormal = glm::cross(position(mesh, first + 1) - a, position(mesh, first + 2) - a);
            const glm::vec3 stored = normal(mesh, first) + normal(mesh, first + 1) + normal(mesh, first + 2);
            if (glm::dot(faceNormal, stored) <= 0.0f)
                ++misfits;
            for (size_t k = 0; k < 3; ++k)
                ASSERT_NEAR(glm::length(normal(mesh, first + k)), 1.0f, 1e-3f);
        }
        EXPECT_EQ(misfits, 0u);
    }
}

TEST(ShippedModels, WingsSpreadSidewaysAndShowBothFaces)
{
    const ObjMesh wings = loadShipped("Wings.obj");
    const Bounds bounds = boundsOf(wings);
    // Scaled by 0.08 in the level, each wing is 0.15 to 0.2 units long.
    EXPECT_NEAR(bounds.low.x, -bounds.high.x, 1e-3f);
    EXPECT_GE(0.08f * bounds.high.x, 0.15f);
    EXPECT_LE(0.08f * bounds.high.x, 0.21f);
    EXPECT_GT(bounds.high.y - bounds.low.y, 1.6f);
    EXPECT_LT(bounds.high.y - bounds.low.y, 2.8f);
    EXPECT_LT(bounds.high.z - bounds.low.z, 1.0f);
    EXPECT_LE(bounds.high.z, 0.05f);  // never in front of the root, where the body is

    size_t facingFront = 0;
    size_t facingBack = 0;
    for (size_t v = 0; v < wings.vertexCount; v += 3)
        (normal(wings, v).z > 0.0f ? facingFront : facingBack) += 1;
    EXPECT_EQ(facingFront, facingBack);
}

TEST(ShippedModels, FlagPoleStandsInTheCloudBelowIt)
{
    // Placements in the level: flag at y 22.26 scaled 0.5, cloud at y 20.26 scaled 0.003.
    const Bounds flag = boundsOf(loadShipped("flag.obj"));
    const Bounds cloud = boundsOf(loadShipped("cloud.obj"));
    const float poleFoot = 22.26f + 0.5f * flag.low.y;
    EXPECT_LT(poleFoot, 20.26f + 0.003f * cloud.high.y);
    EXPECT_GT(poleFoot, 20.26f + 0.003f * (0.5f * (cloud.low.y + cloud.high.y)));
    EXPECT_NEAR(flag.high.y, 4.2f, 0.3f);
    EXPECT_NEAR(flag.high.x, 2.45f, 0.1f);  // the cloth flies along +x
    EXPECT_LT(flag.high.z - flag.low.z, 0.6f);
}

TEST(ShippedModels, CloudIsCentredAndAboutTwoUnitsAcross)
{
    const Bounds cloud = boundsOf(loadShipped("cloud.obj"));
    const glm::vec3 centre = 0.5f * (cloud.low + cloud.high);
    EXPECT_NEAR(centre.x, 0.0f, 1.0f);
    EXPECT_NEAR(centre.y, 0.0f, 1.0f);
    EXPECT_NEAR(centre.z, 0.0f, 1.0f);
    EXPECT_GE(cloud.high.x - cloud.low.x, 600.0f);
    EXPECT_LE(cloud.high.x - cloud.low.x, 800.0f);
    EXPECT_NEAR(cloud.high.y - cloud.low.y, 250.0f, 30.0f);
}
