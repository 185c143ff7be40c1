// Materials: which uniforms each sends, in which order, and the texture state
// a TextureMaterial leaves behind.
#include "framework/material.h"

#include "dds_file_builder.h"
#include "framework/shader.h"
#include "framework/texture.h"
#include "support/gl_test_context.h"
#include "support/uniform_recorder.h"
#include "support/test_paths.h"

#include <gmock/gmock.h>

#include <utility>

namespace {

// Upload kinds in order, as the recorder names them.
std::vector<std::string> kinds(const UniformRecorder& recorder)
{
    std::vector<std::string> result;
    for (const UniformUpload& upload : recorder.uploads())
        result.push_back(upload.kind);
    return result;
}

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
        EXPECT_THAT(recorder.names(), ElementsAre("materialCoefficients", "specularAlpha"));
        EXPECT_THAT(kinds(recorder), ElementsAre("3f", "1f"));
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
        EXPECT_THAT(recorder.names(), ElementsAre("materialCoefficients", "specularAlpha", "diffuseTexture"));
        EXPECT_THAT(kinds(recorder), ElementsAre("3f", "1f", "1i"));
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
