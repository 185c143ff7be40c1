#include "framework/model.h"

#include "framework/material.h"
#include "framework/shader.h"
#include "support/gl_test_context.h"
#include "support/test_paths.h"

namespace {

glm::vec3 apply(const glm::mat4& matrix, const glm::vec3& point)
{
    return glm::vec3(matrix * glm::vec4(point, 1.0f));
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

const char* const quadObj =
    "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvn 0 0 1\nf 1//1 2//1 3//1 4//1\n";

}  // namespace

TEST(ModelMatrix, RotationsAreInDegreesAboutXThenYThenZ)
{
    expectNear(apply(modelMatrixOf(glm::vec3(0), glm::vec3(90, 0, 0), glm::vec3(1)), glm::vec3(0, 1, 0)),
               glm::vec3(0, 0, 1));
    // Rz acts first: (1,0,0) -> (0,1,0) by z, then x turns it to (0,0,1).
    expectNear(apply(modelMatrixOf(glm::vec3(0), glm::vec3(90, 0, 90), glm::vec3(1)), glm::vec3(1, 0, 0)),
               glm::vec3(0, 0, 1));
}

TEST(ModelMatrix, ScalesFirstAndTranslatesLast)
{
    expectNear(apply(modelMatrixOf(glm::vec3(1, 2, 3), glm::vec3(0), glm::vec3(2)), glm::vec3(1, 1, 1)),
               glm::vec3(3, 4, 5));
}

using ModelTest = GlTest;

TEST_F(ModelTest, MissingFileReportsAndDrawsNothing)
{
    testing::internal::CaptureStderr();
    Model model("no/such/model.obj");
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors,
              "TinyObjLoader error:\n  Cannot open file [no/such/model.obj]\n\n"
              "Failed to load .obj: no/such/model.obj\n"
              "Warning: Model::setupMesh() called but no vertex data loaded.\n");
    EXPECT_EQ(model.getVertexCount(), 0u);
    EXPECT_EQ(model.vertexArray(), 0u);
    model.draw();  // no GL error either
}

TEST_F(ModelTest, UploadsInterleavedPositionsAndNormals)
{
    const std::string dir = makeScratchDir("ModelUpload");
    writeFile(dir + "/quad.obj", quadObj);
    Model model(dir + "/quad.obj");
    ASSERT_EQ(model.getVertexCount(), 6u);
    glBindVertexArray(model.vertexArray());
    for (GLuint location : {0u, 1u}) {
        GLint enabled = 0, stride = 0, size = 0;
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &size);
        EXPECT_TRUE(enabled);
        EXPECT_EQ(stride, 24);
        EXPECT_EQ(size, 3);
    }
    GLint enabled = 1;
    glGetVertexAttribiv(2, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_FALSE(enabled);
    glBindVertexArray(0);
}

TEST_F(ModelTest, DrawWithoutMaterialKeepsTheCurrentProgram)
{
    const std::string dir = makeScratchDir("ModelNoMaterial");
    writeFile(dir + "/quad.obj", quadObj);
    Shader builtIn;
    builtIn.use();
    Model model(dir + "/quad.obj");
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    model.draw();
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(static_cast<GLuint>(program), builtIn.handle());
    EXPECT_EQ(readPixels(defaultWidth / 2, defaultHeight / 2, 1, 1)[0], 255);  // the built-in red
}

TEST_F(ModelTest, DrawWithMaterialMakesItsProgramCurrent)
{
    const std::string dir = makeScratchDir("ModelMaterial");
    writeFile(dir + "/quad.obj", quadObj);
    testing::internal::CaptureStdout();
    auto shader = std::make_shared<Shader>("tests/framework/data/mesh.vert", "tests/framework/data/mesh.frag");
    testing::internal::GetCapturedStdout();
    Model model(dir + "/quad.obj");
    model.setMaterial(std::make_shared<Material>(shader, glm::vec3(1), glm::vec3(0, 1, 0), 1.0f));
    glUseProgram(0);
    model.draw();
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(static_cast<GLuint>(program), shader->handle());
}
