#include "framework/geometry.h"

#include "framework/material.h"
#include "framework/shader.h"
#include "support/gl_test_context.h"
#include "support/uniform_recorder.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gmock/gmock.h>

namespace {

bool attributeEnabled(GLuint vao, GLuint location)
{
    glBindVertexArray(vao);
    GLint enabled = 0;
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    glBindVertexArray(0);
    return enabled != 0;
}

class GeometryTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        testing::internal::CaptureStdout();
        shader = std::make_shared<Shader>("tests/framework/data/mesh.vert", "tests/framework/data/mesh.frag");
        testing::internal::GetCapturedStdout();
        material = std::make_shared<Material>(shader, glm::vec3(1.0f), glm::vec3(0.2f, 0.4f, 0.8f), 1.0f);
    }
    void TearDown() override
    {
        material.reset();
        shader.reset();
        GlTest::TearDown();
    }

    std::shared_ptr<Shader> shader;
    std::shared_ptr<Material> material;
};

}  // namespace

TEST(NormalMatrix, UndoesScalingAndIgnoresTranslation)
{
    EXPECT_EQ(normalMatrixOf(glm::translate(glm::mat4(1.0f), glm::vec3(0, 10, 0))), glm::mat3(1.0f));
    const glm::mat3 scaled = normalMatrixOf(glm::scale(glm::mat4(1.0f), glm::vec3(2.0f, 4.0f, 1.0f)));
    EXPECT_FLOAT_EQ(scaled[0][0], 0.5f);
    EXPECT_FLOAT_EQ(scaled[1][1], 0.25f);
    EXPECT_FLOAT_EQ(scaled[2][2], 1.0f);
}

TEST_F(GeometryTest, LightmapCoordinatesEnableAttributeThreeAndNothingElseDoes)
{
    GeometryData data = createTubeGeometry(8, 2.0f, 1.0f);
    Geometry plain(glm::mat4(1.0f), data, material);
    for (GLuint location : {0u, 1u, 2u})
        EXPECT_TRUE(attributeEnabled(plain.vertexArray(), location)) << location;
    EXPECT_FALSE(attributeEnabled(plain.vertexArray(), 3));
    EXPECT_FALSE(attributeEnabled(plain.vertexArray(), 4));

    data.lightmapUVs = data.uvs;
    Geometry withLightmap(glm::mat4(1.0f), data, material);
    EXPECT_TRUE(attributeEnabled(withLightmap.vertexArray(), 3));
    EXPECT_FALSE(attributeEnabled(withLightmap.vertexArray(), 4));
}

TEST_F(GeometryTest, ShortAttributeArraysAreNeverEnabled)
{
    GeometryData data = createTubeGeometry(8, 2.0f, 1.0f);
    data.normals.pop_back();
    data.uvs.clear();
    Geometry geometry(glm::mat4(1.0f), data, material);
    EXPECT_TRUE(attributeEnabled(geometry.vertexArray(), 0));
    EXPECT_FALSE(attributeEnabled(geometry.vertexArray(), 1));
    EXPECT_FALSE(attributeEnabled(geometry.vertexArray(), 2));
}

TEST_F(GeometryTest, TransformAppliesAfterTheExistingMatrix)
{
    const glm::mat4 start = glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3));
    const glm::mat4 t = glm::rotate(glm::mat4(1.0f), 0.5f, glm::vec3(0, 1, 0));
    const glm::mat4 s = glm::scale(glm::mat4(1.0f), glm::vec3(2.0f));
    Geometry geometry(start, createPlaneGeometry(1, 1.0f), material);
    geometry.transform(t);
    geometry.transform(s);
    EXPECT_EQ(geometry.getModelMatrix(), s * t * start);
    geometry.resetModelMatrix();
    EXPECT_EQ(geometry.getModelMatrix(), glm::mat4(1.0f));
}

TEST_F(GeometryTest, DrawSetsMatricesThenMaterialUniformsAndPaints)
{
    // The grid lies in y = 0; turned about x it faces the viewer and fills clip space.
    const glm::mat4 facing = glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(1, 0, 0));
    Geometry geometry(facing, createPlaneGeometry(4, 1.0f), material);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    {
        UniformRecorder recorder;
        geometry.draw();
        EXPECT_THAT(recorder.names(),
                    testing::ElementsAre("modelMatrix", "normalMatrix", "materialCoefficients", "specularAlpha"));
    }
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(static_cast<GLuint>(program), shader->handle());
    const auto pixel = readPixels(defaultWidth / 2, defaultHeight / 2, 1, 1);
    EXPECT_NEAR(pixel[0], 51, 2);
    EXPECT_NEAR(pixel[1], 102, 2);
    EXPECT_NEAR(pixel[2], 204, 2);
}

TEST_F(GeometryTest, DestructionDeletesEveryBufferOnceAndMovesTransferOwnership)
{
    GeometryData data = createTubeGeometry(8, 2.0f, 1.0f);
    data.lightmapUVs = data.uvs;
    auto geometry = std::make_unique<Geometry>(glm::mat4(1.0f), data, material);
    const GLuint vao = geometry->vertexArray();
    Geometry moved(std::move(*geometry));
    EXPECT_EQ(geometry->vertexArray(), 0u);
    geometry.reset();  // the moved-from object deletes nothing
    EXPECT_TRUE(glIsVertexArray(vao));
    EXPECT_EQ(material.use_count(), 2);
    {
        Geometry sink = std::move(moved);
    }
    EXPECT_FALSE(glIsVertexArray(vao));
    EXPECT_EQ(material.use_count(), 1);
}
