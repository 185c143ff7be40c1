// Textures on a real GL context: what reaches the GPU, how they sample, and
// what an invalid texture leaves alone.
#include "framework/texture.h"

#include "dds_file_builder.h"
#include "framework/console.h"
#include "framework/dds_reader.h"
#include "gl_calls.h"
#include "support/gl_object_census.h"
#include "support/gl_test_context.h"
#include "support/test_paths.h"

#include <gmock/gmock.h>

static_assert(compressedFormatDXT1 == GL_COMPRESSED_RGBA_S3TC_DXT1_EXT);
static_assert(compressedFormatDXT3 == GL_COMPRESSED_RGBA_S3TC_DXT3_EXT);
static_assert(compressedFormatDXT5 == GL_COMPRESSED_RGBA_S3TC_DXT5_EXT);

namespace {

GLint boundParameter(GLenum name)
{
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

// A texture made quietly from a DDS file of these bytes.
Texture textureFrom(const std::string& test, const std::string& bytes)
{
    const ScratchAsset file = writeScratchAsset(test, "image.dds", bytes);
    const CapturedConsole quiet;
    return Texture(file.relativePath);
}

using TextureTest = GlTest;

}  // namespace

// Exactly the level-0 blocks go up, whatever the header's linear size
// says; GL builds the mipmaps, and the new texture samples trilinearly,
// repeating, and stays bound.
TEST_F(TextureTest, UploadsTheLevelZeroBlocksAndSamplesTrilinearly)
{
    // 5 by 3 texels are 2 by 1 blocks of 16 bytes.
    const std::string file = ddsfile::validFile(5, 3, "DXT5") + ddsfile::blocks(64);
    GlCallRecorder recorder;
    const Texture texture = textureFrom("texture_upload", ddsfile::withU32(file, ddsfile::linearSizeOffset, 7));
    EXPECT_EQ(recorder.counts().bytesUploaded, 32);
    EXPECT_EQ(recorder.callsTo("glGenerateMipmap"), 1);
    EXPECT_EQ(boundParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(boundParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(boundParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(boundParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 5);
}

// Binding picks the unit; resampling rebuilds the mipmaps, then unbinds. A
// texture moves with its owner and is deleted once.
TEST_F(TextureTest, BindingPicksTheUnitResamplingRebuildsThenUnbindsAndMovesKeepOneTexture)
{
    const GlObjectCensus before = countLiveGlObjects();
    {
        Texture first = textureFrom("texture_bind", ddsfile::validFile(8, 8, "DXT1"));
        Texture second = std::move(first);
        Texture texture = textureFrom("texture_bind", ddsfile::validFile(4, 4, "DXT5"));
        texture = std::move(second);
        EXPECT_EQ(countLiveGlObjects().textures, before.textures + 1);
        glBindTexture(GL_TEXTURE_2D, 0);
        texture.bind(3);
        EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
        const GLint name = integer(GL_TEXTURE_BINDING_2D);
        EXPECT_NE(name, 0);

        GlCallRecorder recorder;
        texture.setSampling(GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE);
        EXPECT_EQ(recorder.callsTo("glGenerateMipmap"), 1);
        EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
        EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(name));
        EXPECT_EQ(boundParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
        EXPECT_EQ(boundParameter(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    }
    EXPECT_EQ(countLiveGlObjects(), before);
}

// An image the game cannot use leaves a texture that owns nothing and,
// bound or resampled, makes no GL call at all: the unit keeps what it held.
TEST_F(TextureTest, AnInvalidTextureOwnsNothingAndTouchesNothing)
{
    const GlObjectCensus before = countLiveGlObjects();
    for (const std::string& bytes :
         {ddsfile::header(4, 4, "", 64) + ddsfile::blocks(64), ddsfile::validFile(8, 8, "DXT1").substr(0, 140)}) {
        Texture texture = textureFrom("texture_invalid", bytes);
        EXPECT_EQ(countLiveGlObjects(), before);
        GlCallRecorder recorder;
        texture.bind(3);
        texture.setSampling(GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE);
        EXPECT_EQ(recorder.counts().calls, 0);
    }
    EXPECT_EQ(countLiveGlObjects(), before);
}

TEST_F(TextureTest, TheShippedTexturesAreAllUsable)
{
    for (const char* name : {"lightblue", "glitteryellow", "wellwall", "lightpurple", "green", "cloud"}) {
        const std::string path = sourceDir() + "/assets/textures/" + name + ".dds";
        EXPECT_EQ(loadDDS(path).data.empty(), false) << name;
    }
}
