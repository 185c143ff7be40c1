// Texture on a real GL context: what reaches the GPU, which GL calls each
// operation makes, and what an invalid texture leaves alone. The texture
// calls are logged by wrapping GLEW's pointers and, for the GL 1.1 entry
// points that GLEW links directly, by interposing them in this executable.
#include "framework/texture.h"

#include "dds_file_builder.h"
#include "framework/asset_path.h"
#include "framework/dds_reader.h"
#include "framework/file_io.h"
#include "support/gl_test_context.h"
#include "support/test_paths.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

static_assert(compressedFormatDXT1 == GL_COMPRESSED_RGBA_S3TC_DXT1_EXT);
static_assert(compressedFormatDXT3 == GL_COMPRESSED_RGBA_S3TC_DXT3_EXT);
static_assert(compressedFormatDXT5 == GL_COMPRESSED_RGBA_S3TC_DXT5_EXT);

namespace {

std::vector<std::string> glCallLog;
bool loggingGlCalls = false;

void logCall(const std::string& call)
{
    if (loggingGlCalls)
        glCallLog.push_back(call);
}

template <typename Function>
Function realGlFunction(const char* name)
{
    void* symbol = dlsym(RTLD_NEXT, name);
    if (!symbol)
        std::abort();
    return reinterpret_cast<Function>(symbol);
}

std::string texParameter(GLenum name, GLenum value)
{
    return "glTexParameteri " + std::to_string(name) + " " + std::to_string(value);
}

PFNGLACTIVETEXTUREPROC realActiveTexture = nullptr;
PFNGLGENERATEMIPMAPPROC realGenerateMipmap = nullptr;
PFNGLCOMPRESSEDTEXIMAGE2DPROC realCompressedTexImage2D = nullptr;
GLsizei lastUploadSize = -1;

void GLAPIENTRY loggedActiveTexture(GLenum unit)
{
    logCall("glActiveTexture " + std::to_string(unit - GL_TEXTURE0));
    realActiveTexture(unit);
}

void GLAPIENTRY loggedGenerateMipmap(GLenum target)
{
    logCall("glGenerateMipmap");
    realGenerateMipmap(target);
}

void GLAPIENTRY loggedCompressedTexImage2D(GLenum target, GLint level, GLenum format, GLsizei width,
                                           GLsizei height, GLint border, GLsizei size, const void* data)
{
    logCall("glCompressedTexImage2D");
    lastUploadSize = size;
    realCompressedTexImage2D(target, level, format, width, height, border, size, data);
}

}  // namespace

// The GL 1.1 entry points, taken by this executable ahead of libGL.
extern "C" {
void GLAPIENTRY glGenTextures(GLsizei count, GLuint* names)
{
    static const auto real = realGlFunction<void(GLAPIENTRY*)(GLsizei, GLuint*)>("glGenTextures");
    logCall("glGenTextures");
    real(count, names);
}

void GLAPIENTRY glDeleteTextures(GLsizei count, const GLuint* names)
{
    static const auto real = realGlFunction<void(GLAPIENTRY*)(GLsizei, const GLuint*)>("glDeleteTextures");
    logCall("glDeleteTextures " + std::to_string(names[0]));
    real(count, names);
}

void GLAPIENTRY glBindTexture(GLenum target, GLuint name)
{
    static const auto real = realGlFunction<void(GLAPIENTRY*)(GLenum, GLuint)>("glBindTexture");
    logCall("glBindTexture " + std::to_string(name));
    real(target, name);
}

void GLAPIENTRY glTexParameteri(GLenum target, GLenum name, GLint value)
{
    static const auto real = realGlFunction<void(GLAPIENTRY*)(GLenum, GLenum, GLint)>("glTexParameteri");
    logCall(texParameter(name, static_cast<GLenum>(value)));
    real(target, name, value);
}
}

namespace {

class TextureTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        realActiveTexture = __glewActiveTexture;
        realGenerateMipmap = __glewGenerateMipmap;
        realCompressedTexImage2D = __glewCompressedTexImage2D;
        __glewActiveTexture = loggedActiveTexture;
        __glewGenerateMipmap = loggedGenerateMipmap;
        __glewCompressedTexImage2D = loggedCompressedTexImage2D;
        startLog();
        scratch = makeScratchDir(std::string("texture_") +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    void TearDown() override
    {
        loggingGlCalls = false;
        __glewActiveTexture = realActiveTexture;
        __glewGenerateMipmap = realGenerateMipmap;
        __glewCompressedTexImage2D = realCompressedTexImage2D;
        GlTest::TearDown();
    }

    static void startLog()
    {
        glCallLog.clear();
        lastUploadSize = -1;
        loggingGlCalls = true;
    }

    // Writes `bytes` as a file in this test's scratch folder and returns the
    // path under which the asset search finds it: relative to the executable,
    // so that only the search's first level matches.
    std::string assetFile(const std::string& name, const std::string& bytes) const
    {
        const std::string path = scratch + "/" + name;
        writeFile(path, bytes);
        return std::filesystem::relative(path, executableDirectory()).string();
    }

    static GLint levelParameter(GLint level, GLenum name)
    {
        GLint value = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
        return value;
    }

    static GLint textureParameter(GLenum name)
    {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }

    static GLint integer(GLenum name)
    {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }

    std::string scratch;
};

std::vector<uint8_t> blocksAt(const std::string& file, size_t offset, size_t count)
{
    return std::vector<uint8_t>(file.begin() + static_cast<long>(offset),
                                file.begin() + static_cast<long>(offset + count));
}

std::vector<uint8_t> uploadedLevelZero(GLint imageSize)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(imageSize));
    glGetCompressedTexImage(GL_TEXTURE_2D, 0, bytes.data());
    return bytes;
}

}  // namespace

TEST_F(TextureTest, UploadsExactlyTheLevelZeroBlocks)
{
    const struct {
        const char* name;
        std::string file;
        size_t dataOffset;
        GLint width, height, imageSize;
        GLenum format;
    } cases[] = {
        {"dxt1", ddsfile::legacyFile(256, 256, "DXT1"), ddsfile::legacyDataOffset, 256, 256, 32768,
         GL_COMPRESSED_RGBA_S3TC_DXT1_EXT},
        {"dxt5", ddsfile::legacyFile(256, 256, "DXT5"), ddsfile::legacyDataOffset, 256, 256, 65536,
         GL_COMPRESSED_RGBA_S3TC_DXT5_EXT},
        {"odd", ddsfile::legacyFile(5, 3, "DXT5"), ddsfile::legacyDataOffset, 5, 3, 32,
         GL_COMPRESSED_RGBA_S3TC_DXT5_EXT},
        {"dxt3", ddsfile::legacyFile(8, 8, "DXT3"), ddsfile::legacyDataOffset, 8, 8, 64,
         GL_COMPRESSED_RGBA_S3TC_DXT3_EXT},
        {"dx10", ddsfile::dx10File(8, 8, ddsfile::dxgiBC3Srgb), ddsfile::dx10DataOffset, 8, 8, 64,
         GL_COMPRESSED_RGBA_S3TC_DXT5_EXT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Texture texture(assetFile(std::string(c.name) + ".dds", c.file));
        ASSERT_TRUE(texture.isValid());
        ASSERT_NE(texture.getHandle(), 0u);
        EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture.getHandle()));
        EXPECT_EQ(lastUploadSize, c.imageSize);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), c.width);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), c.height);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), static_cast<GLint>(c.format));
        ASSERT_EQ(levelParameter(0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE), c.imageSize);
        EXPECT_EQ(uploadedLevelZero(c.imageSize), blocksAt(c.file, c.dataOffset, static_cast<size_t>(c.imageSize)));
    }
}

TEST_F(TextureTest, UploadThenMipmapsThenSampling)
{
    const Texture texture(assetFile("wall.dds", ddsfile::legacyFile(64, 32, "DXT1")));
    const std::string handle = std::to_string(texture.getHandle());
    const std::vector<std::string> expected{
        "glGenTextures",
        "glBindTexture " + handle,
        "glCompressedTexImage2D",
        "glGenerateMipmap",
        texParameter(GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR),
        texParameter(GL_TEXTURE_MAG_FILTER, GL_LINEAR),
        texParameter(GL_TEXTURE_WRAP_S, GL_REPEAT),
        texParameter(GL_TEXTURE_WRAP_T, GL_REPEAT),
    };
    EXPECT_EQ(glCallLog, expected);
    EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), 32);
    EXPECT_EQ(levelParameter(6, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
}

TEST_F(TextureTest, LyingLinearSizeFieldStillUploadsTheBlockCount)
{
    for (const uint32_t lie : {1u, 0x10000000u}) {
        std::string file = ddsfile::legacyFile(16, 16, "DXT5");
        ddsfile::putU32(file, ddsfile::linearSizeOffset, lie);
        const Texture texture(assetFile("lying.dds", file));
        ASSERT_TRUE(texture.isValid());
        EXPECT_EQ(lastUploadSize, 256);
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE), 256);
    }
}

TEST_F(TextureTest, InvalidTextureOwnsNothingAndBindsNothing)
{
    const std::string path = assetFile("rgba.dds", ddsfile::header(4, 4, "", 64) + ddsfile::blocks(64));
    realActiveTexture(GL_TEXTURE5);
    testing::internal::CaptureStdout();
    {
        const Texture texture(path);
        EXPECT_FALSE(texture.isValid());
        EXPECT_EQ(texture.getHandle(), 0u);
        texture.bind(3);
        EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE5);
    }
    EXPECT_NE(testing::internal::GetCapturedStdout().find("due to an unsupported format."), std::string::npos);
    EXPECT_EQ(glCallLog, std::vector<std::string>{}) << "construction, bind or destruction called GL";
}

TEST_F(TextureTest, UnreadableImageLeavesTextureInvalid)
{
    const std::string path = assetFile("short.dds", ddsfile::legacyFile(8, 8, "DXT1").substr(0, 150));
    testing::internal::CaptureStdout();
    const Texture texture(path);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(texture.isValid());
    EXPECT_EQ(output.rfind("Unable to load DDS image file from path[", 0), 0u) << output;
    EXPECT_EQ(glCallLog, std::vector<std::string>{});
}

TEST_F(TextureTest, BindActivatesTheUnit)
{
    const Texture texture(assetFile("a.dds", ddsfile::legacyFile(4, 4, "DXT1")));
    startLog();
    texture.bind(3);
    EXPECT_EQ(glCallLog, (std::vector<std::string>{"glActiveTexture 3",
                                                    "glBindTexture " + std::to_string(texture.getHandle())}));
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture.getHandle()));
}

TEST_F(TextureTest, DestructionDeletesOnlyOwnedTextures)
{
    const std::string path = assetFile("a.dds", ddsfile::legacyFile(4, 4, "DXT1"));
    GLuint name = 0;
    {
        Texture first(path);
        name = first.getHandle();
        Texture second(std::move(first));
        EXPECT_FALSE(first.isValid());
        EXPECT_EQ(first.getHandle(), 0u);
        EXPECT_EQ(second.getHandle(), name);
        startLog();
    }
    EXPECT_EQ(glCallLog, std::vector<std::string>{"glDeleteTextures " + std::to_string(name)});
    EXPECT_EQ(glIsTexture(name), GL_FALSE);
}

TEST_F(TextureTest, MoveAssignmentReleasesTheOldTexture)
{
    const std::string path = assetFile("a.dds", ddsfile::legacyFile(4, 4, "DXT1"));
    Texture kept(path);
    Texture replaced(path);
    const GLuint keptName = kept.getHandle();
    const GLuint oldName = replaced.getHandle();
    startLog();
    replaced = std::move(kept);
    EXPECT_EQ(glCallLog, std::vector<std::string>{"glDeleteTextures " + std::to_string(oldName)});
    EXPECT_EQ(replaced.getHandle(), keptName);
    EXPECT_TRUE(glIsTexture(keptName));
    EXPECT_FALSE(kept.isValid());
}

TEST_F(TextureTest, SetSamplingRebuildsMipmapsAndUnbinds)
{
    Texture texture(assetFile("cloud.dds", ddsfile::legacyFile(32, 32, "DXT5")));
    const std::string handle = std::to_string(texture.getHandle());
    realActiveTexture(GL_TEXTURE2);
    startLog();
    texture.setSampling(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE);
    const std::vector<std::string> expected{
        "glActiveTexture 0",
        "glBindTexture " + handle,
        "glGenerateMipmap",
        texParameter(GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR),
        texParameter(GL_TEXTURE_MAG_FILTER, GL_LINEAR),
        texParameter(GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE),
        texParameter(GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE),
        "glBindTexture 0",
    };
    EXPECT_EQ(glCallLog, expected);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
    texture.bind(0);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
}

TEST_F(TextureTest, SetSamplingOfInvalidTextureDoesNothing)
{
    const std::string path = assetFile("dxt2.dds", ddsfile::header(4, 4, "DXT2", 16) + ddsfile::blocks(16));
    testing::internal::CaptureStdout();
    Texture texture(path);
    testing::internal::GetCapturedStdout();
    texture.setSampling(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT);
    EXPECT_EQ(glCallLog, std::vector<std::string>{});
}

TEST_F(TextureTest, ShippedTexturesLoad)
{
    const struct {
        const char* path;
        GLenum format;
    } shipped[] = {
        {"assets/textures/lightblue.dds", GL_COMPRESSED_RGBA_S3TC_DXT1_EXT},
        {"assets/textures/glitteryellow.dds", GL_COMPRESSED_RGBA_S3TC_DXT1_EXT},
        {"assets/textures/wellwall.dds", GL_COMPRESSED_RGBA_S3TC_DXT1_EXT},
        {"assets/textures/lightpurple.dds", GL_COMPRESSED_RGBA_S3TC_DXT1_EXT},
        {"assets/textures/green.dds", GL_COMPRESSED_RGBA_S3TC_DXT1_EXT},
        {"assets/textures/cloud.dds", GL_COMPRESSED_RGBA_S3TC_DXT5_EXT},
    };
    for (const auto& file : shipped)
        ASSERT_TRUE(isReadableFile(sourceDir() + "/" + file.path)) << file.path << " is missing";
    testing::internal::CaptureStdout();
    for (const auto& file : shipped) {
        SCOPED_TRACE(file.path);
        const Texture texture(file.path);
        ASSERT_TRUE(texture.isValid());
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), static_cast<GLint>(file.format));
        EXPECT_GE(levelParameter(0, GL_TEXTURE_WIDTH), 256);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(TextureDeathTest, MissingFileEndsTheProgram)
{
    EXPECT_EXIT(
        {
            std::freopen("/dev/null", "r", stdin);
            dup2(STDERR_FILENO, STDOUT_FILENO);  // the death-test matcher reads standard error
            Texture texture("assets/textures/no_such_texture.dds");
        },
        testing::ExitedWithCode(1), "Could not find texture file: assets/textures/no_such_texture.dds\n");
}
