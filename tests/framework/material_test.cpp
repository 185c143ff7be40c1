// Materials: which uniforms each sends, in which order, and the texture state
// a TextureMaterial leaves behind.
#include "framework/material.h"

#include "dds_file_builder.h"
#include "framework/shader.h"
#include "framework/texture.h"
#include "support/gl_test_context.h"
#include "support/test_paths.h"

#include <gmock/gmock.h>

#include <utility>

namespace {

// Records uniform names as they are first looked up and every upload by kind.
struct UniformRecorder {
    static inline std::vector<std::string> queried;
    static inline std::vector<std::string> uploads;
    static inline PFNGLGETUNIFORMLOCATIONPROC realGetUniformLocation = nullptr;
    static inline PFNGLUNIFORM1FPROC real1f = nullptr;
    static inline PFNGLUNIFORM1IPROC real1i = nullptr;
    static inline PFNGLUNIFORM3FPROC real3f = nullptr;

    UniformRecorder()
    {
        queried.clear();
        uploads.clear();
        realGetUniformLocation = std::exchange(__glewGetUniformLocation, getLocation);
        real1f = std::exchange(__glewUniform1f, uniform1f);
        real1i = std::exchange(__glewUniform1i, uniform1i);
        real3f = std::exchange(__glewUniform3f, uniform3f);
    }
    ~UniformRecorder()
    {
        __glewGetUniformLocation = realGetUniformLocation;
        __glewUniform1f = real1f;
        __glewUniform1i = real1i;
        __glewUniform3f = real3f;
    }

    static GLint GLAPIENTRY getLocation(GLuint program, const GLchar* name)
    {
        queried.emplace_back(name);
        return realGetUniformLocation(program, name);
    }
    static void GLAPIENTRY uniform1f(GLint location, GLfloat v0)
    {
        uploads.emplace_back("1f");
        real1f(location, v0);
    }
    static void GLAPIENTRY uniform1i(GLint location, GLint v0)
    {
        uploads.emplace_back("1i");
        real1i(location, v0);
    }
    static void GLAPIENTRY uniform3f(GLint location, GLfloat v0, GLfloat v1, GLfloat v2)
    {
        uploads.emplace_back("3f");
        real3f(location, v0, v1, v2);
    }
};

GLint integerState(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

class MaterialTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        ::testing::internal::CaptureStdout();
        shader = std::make_shared<Shader>("tests/framework/data/color.vert",
                                          "tests/framework/data/material.frag");
        ::testing::internal::GetCapturedStdout();
        shader->use();
    }
    void TearDown() override
    {
        shader.reset();
        GlTest::TearDown();
    }

    // A texture from a DDS file written for this test, found by the asset
    // search under the build tree's scratch folder.
    std::shared_ptr<Texture> textureFromFile(const std::string& test, const std::string& bytes)
    {
        const std::string dir = makeScratchDir(test);
        writeFile(dir + "/image.dds", bytes);
        ::testing::internal::CaptureStdout();
        auto texture = std::make_shared<Texture>("scratch/" + test + "/image.dds");
        ::testing::internal::GetCapturedStdout();
        return texture;
    }

    float floatUniform(const char* name, int component = 0)
    {
        float values[4] = {};
        glGetUniformfv(shader->handle(), glGetUniformLocation(shader->handle(), name), values);
        return values[component];
    }

    GLint intUniform(const char* name)
    {
        GLint value = -1;
        glGetUniformiv(shader->handle(), glGetUniformLocation(shader->handle(), name), &value);
        return value;
    }

    std::shared_ptr<Shader> shader;
};

using ::testing::ElementsAre;

}  // namespace

TEST_F(MaterialTest, SendsCoefficientsThenSpecularAlphaAndNothingElse)
{
    Material material(shader, glm::vec3(0.05f, 0.1f, 0.2f), glm::vec3(0.2f, 0.4f, 0.8f), 16.0f);
    {
        UniformRecorder recorder;
        material.setUniforms();
        EXPECT_THAT(recorder.queried, ElementsAre("materialCoefficients", "specularAlpha"));
        EXPECT_THAT(recorder.uploads, ElementsAre("3f", "1f"));
    }
    EXPECT_FLOAT_EQ(floatUniform("materialCoefficients", 0), 0.2f);
    EXPECT_FLOAT_EQ(floatUniform("materialCoefficients", 2), 0.8f);
    EXPECT_FLOAT_EQ(floatUniform("specularAlpha"), 16.0f);
}

TEST_F(MaterialTest, GetShaderTakesNoShare)
{
    Material material(shader, glm::vec3(1.0f), glm::vec3(1.0f), 1.0f);
    const long shares = shader.use_count();
    EXPECT_EQ(material.getShader(), shader.get());
    EXPECT_EQ(shader.use_count(), shares);
}

TEST_F(MaterialTest, ReleasesItsSharesWhenDestroyed)
{
    auto texture = textureFromFile("MaterialShares", ddsfile::legacyFile(4, 4, "DXT1"));
    {
        auto material = std::make_shared<TextureMaterial>(shader, glm::vec3(1.0f), 8.0f, texture);
        EXPECT_EQ(shader.use_count(), 2);
        EXPECT_EQ(texture.use_count(), 2);
    }
    EXPECT_EQ(shader.use_count(), 1);
    EXPECT_EQ(texture.use_count(), 1);
}

TEST_F(MaterialTest, TextureMaterialLeavesUnitZeroActiveWithItsTexture)
{
    auto texture = textureFromFile("TextureMaterialBinds", ddsfile::legacyFile(4, 4, "DXT1"));
    ASSERT_TRUE(texture->isValid());
    TextureMaterial material(shader, glm::vec3(0.51f, 0.4f, 0.4f), 8.0f, texture);
    glUniform1i(glGetUniformLocation(shader->handle(), "diffuseTexture"), 5);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE3);

    {
        UniformRecorder recorder;
        material.setUniforms();
        EXPECT_THAT(recorder.queried, ElementsAre("materialCoefficients", "specularAlpha", "diffuseTexture"));
        EXPECT_THAT(recorder.uploads, ElementsAre("3f", "1f", "1i"));
    }
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture->getHandle()));
    EXPECT_EQ(intUniform("diffuseTexture"), 0);
    EXPECT_FLOAT_EQ(floatUniform("materialCoefficients", 1), 0.4f);
    EXPECT_FLOAT_EQ(floatUniform("specularAlpha"), 8.0f);
}

TEST_F(MaterialTest, TextureMaterialWithInvalidTextureBindsNothing)
{
    auto texture = textureFromFile("TextureMaterialInvalid", ddsfile::legacyFile(4, 4, ""));
    ASSERT_FALSE(texture->isValid());
    TextureMaterial material(shader, glm::vec3(1.0f), 8.0f, texture);
    shader->setUniform("diffuseTexture", 5);
    glActiveTexture(GL_TEXTURE3);

    material.setUniforms();
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    EXPECT_EQ(intUniform("diffuseTexture"), 0);
}

TEST_F(MaterialTest, TextureMaterialWithoutTextureStillSetsItsUniforms)
{
    TextureMaterial material(shader, glm::vec3(1.0f), 4.0f, nullptr);
    glUniform1i(glGetUniformLocation(shader->handle(), "diffuseTexture"), 5);
    glActiveTexture(GL_TEXTURE2);

    material.setUniforms();
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
    EXPECT_EQ(intUniform("diffuseTexture"), 0);
    EXPECT_FLOAT_EQ(floatUniform("specularAlpha"), 4.0f);
}
