// Meshes on the GPU: which attributes a Geometry gives its program, its
// matrices and its draw, OBJ models placed and drawn, and materials that
// bind their textures. Observed through pixels, GL state and the census.
#include "framework/console.h"
#include "framework/geometry.h"
#include "framework/material.h"
#include "framework/model.h"
#include "framework/shader.h"
#include "framework/texture.h"

#include "gl_calls.h"
#include "support/gl_object_census.h"
#include "support/gl_test_context.h"
#include "support/test_paths.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <optional>

namespace {

// The grid lies in y = 0; turned about x it faces the viewer and fills clip space.
const glm::mat4 facing = glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(1, 0, 0));

glm::vec3 apply(const glm::mat4& matrix, const glm::vec3& point)
{
    return glm::vec3(matrix * glm::vec4(point, 1.0f));
}

class MeshTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        const CapturedConsole quiet;
        shader = std::make_shared<Shader>("tests/framework/data/attributes.vert", "tests/framework/data/attributes.frag");
        material = std::make_shared<Material>(shader, glm::vec3(1.0f), 1.0f);
    }
    void TearDown() override
    {
        material.reset();
        shader.reset();
        GlTest::TearDown();
    }

    // The centre pixel drawn by `geometry`, each channel rounded to a quarter.
    std::vector<int> drawnCentre(Geometry& geometry)
    {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        geometry.draw();
        std::vector<int> quarters;
        for (unsigned char channel : readPixels(32, 32, 1, 1))
            quarters.push_back((channel + 32) / 64);
        return quarters;
    }

    std::shared_ptr<Shader> shader;
    std::shared_ptr<Material> material;
};

}  // namespace

// An attribute reaches the program only when its array covers every vertex;
// the lightmap coordinates only when there are any.
TEST_F(MeshTest, AGeometryGivesItsProgramTheAttributesItHas)
{
    GeometryData grid = createPlaneGeometry(4, 1.0f);
    Geometry plain(facing, grid, material);
    EXPECT_EQ(drawnCentre(plain), (std::vector<int>{0, 4, 2, 4}));

    grid.lightmapUVs.assign(grid.positions.size(), glm::vec2(1.0f));
    Geometry withLightmap(facing, grid, material);
    EXPECT_EQ(drawnCentre(withLightmap), (std::vector<int>{4, 4, 2, 4}));

    grid.normals.pop_back();
    grid.uvs.clear();
    grid.lightmapUVs.resize(3);
    Geometry shortArrays(facing, grid, material);
    EXPECT_EQ(drawnCentre(shortArrays), (std::vector<int>{0, 0, 0, 4}));
}

TEST_F(MeshTest, AGeometryMovesOnlyByItsMatrixAndOwnsItsBuffersOnce)
{
    const glm::mat4 t = glm::rotate(glm::mat4(1.0f), 0.5f, glm::vec3(0, 1, 0));
    const glm::mat4 s = glm::scale(glm::mat4(1.0f), glm::vec3(2.0f));
    const GlObjectCensus before = countLiveGlObjects();
    {
        std::optional<Geometry> geometry;
        geometry.emplace(facing, createPlaneGeometry(1, 1.0f), material);
        geometry->transform(t);
        geometry->transform(s);
        EXPECT_EQ(geometry->getModelMatrix(), s * t * facing);
        geometry->resetModelMatrix();
        EXPECT_EQ(geometry->getModelMatrix(), glm::mat4(1.0f));
        Geometry moved(std::move(*geometry));
        geometry.reset();  // the moved-from one deletes nothing
        EXPECT_EQ(countLiveGlObjects().buffers, before.buffers + 4);
    }
    EXPECT_EQ(countLiveGlObjects(), before);
    EXPECT_EQ(material.use_count(), 1);
    // Normals follow the model's shape, not its position.
    EXPECT_EQ(normalMatrixOf(glm::translate(glm::mat4(1.0f), glm::vec3(0, 10, 0))), glm::mat3(1.0f));
    EXPECT_EQ(normalMatrixOf(s)[1][1], 0.5f);
}

TEST(ModelMatrix, ScalesThenRotatesInDegreesAboutZYXThenMoves)
{
    EXPECT_LT(glm::distance(apply(modelMatrixOf(glm::vec3(0), glm::vec3(90, 0, 0), glm::vec3(1)), {0, 1, 0}),
                            glm::vec3(0, 0, 1)), 1e-5f);
    EXPECT_LT(glm::distance(apply(modelMatrixOf(glm::vec3(0), glm::vec3(0, 90, 0), glm::vec3(1)), {1, 0, 0}),
                            glm::vec3(0, 0, -1)), 1e-5f);
    // z turns (1, 0, 0) to (0, 1, 0) first, then x turns that to (0, 0, 1).
    EXPECT_LT(glm::distance(apply(modelMatrixOf(glm::vec3(0), glm::vec3(90, 0, 90), glm::vec3(1)), {1, 0, 0}),
                            glm::vec3(0, 0, 1)), 1e-5f);
    EXPECT_EQ(apply(modelMatrixOf(glm::vec3(1, 2, 3), glm::vec3(0), glm::vec3(2)), {1, 1, 1}), glm::vec3(3, 4, 5));
}

TEST_F(MeshTest, AModelFoundByTheAssetSearchDrawsWithItsMaterialAndAMissingOneDrawsNothing)
{
    const ScratchAsset file = writeScratchAsset(
        "model_found", "quad.obj", "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvn 0 1 0\nf 1//1 2//1 3//1 4//1\n");
    const CapturedConsole console;
    Model model(file.relativePath);
    EXPECT_EQ(console.text(StandardStream::error), "");
    model.setMaterial(material);
    shader->use();
    shader->setUniform("modelMatrix", model.getModelMatrix());
    glClear(GL_COLOR_BUFFER_BIT);
    model.draw();
    EXPECT_EQ(readPixels(32, 32, 1, 1), (std::vector<unsigned char>{0, 255, 0, 255}));

    Model missing("no/such/model.obj");
    EXPECT_EQ(console.text(StandardStream::error),
              "TinyObjLoader error:\n  Cannot open file [no/such/model.obj]\n\n"
              "Failed to load .obj: no/such/model.obj\n"
              "Warning: Model::setupMesh() called but no vertex data loaded.\n");
    GlCallRecorder recorder;
    missing.draw();
    EXPECT_EQ(recorder.counts().calls, 0) << "no material, no vertices: nothing to do";
}

// A textured material binds its image on unit 0 for "diffuseTexture"; with
// an image that could not be read the unit keeps what it held.
TEST_F(MeshTest, ATextureMaterialSamplesItsImageOnUnitZero)
{
    const CapturedConsole quiet;
    auto program = std::make_shared<Shader>("tests/framework/data/color.vert", "tests/framework/data/material.frag");
    auto green = std::make_shared<Texture>("assets/textures/green.dds");
    const ScratchAsset bad = writeScratchAsset("material_invalid", "bad.dds", "not an image");
    auto invalid = std::make_shared<Texture>(bad.relativePath);
    TextureMaterial textured(program, glm::vec3(1.0f), 1.0f, green);
    program->use();
    glActiveTexture(GL_TEXTURE3);
    textured.setUniforms();
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    EXPECT_EQ(unit, GL_TEXTURE0);
    drawCoveringTriangle();
    const std::vector<unsigned char> pixel = readPixels(32, 32, 1, 1);
    EXPECT_GT(pixel[1], pixel[0] + 40) << "green";

    glBindTexture(GL_TEXTURE_2D, 0);
    TextureMaterial broken(program, glm::vec3(1.0f), 1.0f, invalid);
    broken.setUniforms();
    drawCoveringTriangle();
    EXPECT_EQ(readPixels(32, 32, 1, 1), (std::vector<unsigned char>{0, 0, 0, 255})) << "an incomplete texture reads black";
}
