// Shader: building from files and from the built-in sources, the fatal build
// failures, the uniform location cache and what the programs draw.
#include "framework/shader.h"

#include "framework/framework.h"

#include "support/gl_test_context.h"
#include "support/uniform_recorder.h"
#include "support/test_paths.h"

#include <gmock/gmock.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <unistd.h>
#include <utility>

// Counts heap allocations made by the test thread while counting is on.
namespace {
thread_local bool countAllocations = false;
std::atomic<long> allocations{0};

void* allocate(std::size_t size) noexcept
{
    if (countAllocations)
        ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

void* operator new(std::size_t size)
{
    if (void* memory = allocate(size))
        return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}
void operator delete(void* memory) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}

namespace {

const std::string colorVert = "tests/framework/data/color.vert";
const std::string colorFrag = "tests/framework/data/color.frag";

GLint currentProgram()
{
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

// Draws one triangle covering the whole viewport at depth `z` of attribute 0.
void drawCoveringTriangle(float z)
{
    const float vertices[] = {-1.0f, -1.0f, z, 3.0f, -1.0f, z, -1.0f, 3.0f, z};
    GLuint vertexArray = 0;
    GLuint buffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glBindVertexArray(0);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
}

// A file under the build tree's scratch folder, named as the asset search
// sees it from the test executable ("scratch/<test>/<file>").
struct ScratchFile {
    std::string relativePath;
    std::string fullPath;
};

ScratchFile scratchFile(const std::string& test, const std::string& file)
{
    const std::string dir = makeScratchDir(test);
    return {"scratch/" + test + "/" + file, dir + "/" + file};
}

using ::testing::HasSubstr;
using ::testing::Not;

// fatalExit writes to standard output and waits on standard input; the death
// test reads standard error.
void prepareFatalChild()
{
    std::freopen("/dev/null", "r", stdin);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

class ShaderTest : public GlTest {
protected:
    std::vector<unsigned char> centre() const
    {
        return readPixels(defaultWidth / 2, defaultHeight / 2, 1, 1);
    }
};

class ShaderDeathTest : public GlTest {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        GlTest::SetUp();
    }
};

}  // namespace

TEST(ShaderSource, BuiltInTextsKeepTheirExactLengths)
{
    EXPECT_EQ(std::strlen(defaultVertexSource), 122u);
    EXPECT_EQ(std::strlen(defaultFragmentSource), 124u);
    EXPECT_THAT(defaultVertexSource, HasSubstr("\tgl_Position = vec4(position.xy, -position.z, 1);\n}"));
    EXPECT_THAT(defaultFragmentSource, HasSubstr("uniform vec3 fragColor = vec3(1, 0, 0); \n"));
}

TEST_F(ShaderTest, FileShaderPrintsReadLinesVertexFirstWithPathsAsPassed)
{
    ::testing::internal::CaptureStdout();
    Shader shader(colorVert, colorFrag);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Read shader: " + colorVert + "\nRead shader: " + colorFrag + "\n");
    EXPECT_TRUE(glIsProgram(shader.handle()));
}

TEST_F(ShaderTest, BuiltInShaderPrintsNothing)
{
    ::testing::internal::CaptureStdout();
    Shader shader;
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(glIsProgram(shader.handle()));
}

TEST_F(ShaderTest, LackedUniformIsQueriedOnceAndNeverUploaded)
{
    Shader shader(colorVert, colorFrag);
    shader.use();
    UniformRecorder counter;
    for (int i = 0; i < 3; ++i) {
        shader.setUniform("notInTheProgram", 1.0f);
        shader.setUniform("notInTheProgram", 1);
        shader.setUniform("notInTheProgram", glm::vec3(1.0f));
        shader.setUniform("notInTheProgram", glm::vec4(1.0f));
        shader.setUniform("notInTheProgram", glm::mat3(1.0f));
        shader.setUniform("notInTheProgram", glm::mat4(1.0f));
    }
    EXPECT_EQ(counter.locationQueries(), 1);
    EXPECT_TRUE(counter.uploads().empty());
    EXPECT_EQ(shader.getUniformLocation("notInTheProgram"), -1);
}

TEST_F(ShaderTest, SameUniformTwiceQueriesOnceAndUploadsTwice)
{
    Shader shader(colorVert, colorFrag);
    shader.use();
    UniformRecorder counter;
    shader.setUniform("gain", 0.5f);
    shader.setUniform(std::string("gain"), 0.25f);
    EXPECT_EQ(counter.locationQueries(), 1);
    EXPECT_EQ(counter.uploads().size(), 2u);
}

TEST_F(ShaderTest, EverySetterUploadsItsValueColumnMajor)
{
    Shader shader(colorVert, colorFrag);
    shader.use();
    const glm::mat3 turn(1, 2, 3, 4, 5, 6, 7, 8, 9);  // glm takes columns in order
    glm::mat4 warp(0.0f);
    for (int i = 0; i < 16; ++i)
        warp[i / 4][i % 4] = static_cast<float>(i + 1);
    shader.setUniform("tint", glm::vec3(0.1f, 0.2f, 0.3f));
    shader.setUniform("offset", glm::vec4(1.0f, 2.0f, 3.0f, 4.0f));
    shader.setUniform("gain", 0.75f);
    shader.setUniform("mode", 7);
    shader.setUniform("turn", turn);
    shader.setUniform("warp", warp);

    const GLuint program = shader.handle();
    float values[16] = {};
    glGetUniformfv(program, glGetUniformLocation(program, "tint"), values);
    EXPECT_FLOAT_EQ(values[0], 0.1f);
    EXPECT_FLOAT_EQ(values[2], 0.3f);
    glGetUniformfv(program, glGetUniformLocation(program, "offset"), values);
    EXPECT_FLOAT_EQ(values[3], 4.0f);
    glGetUniformfv(program, glGetUniformLocation(program, "gain"), values);
    EXPECT_FLOAT_EQ(values[0], 0.75f);
    GLint mode = 0;
    glGetUniformiv(program, glGetUniformLocation(program, "mode"), &mode);
    EXPECT_EQ(mode, 7);
    glGetUniformfv(program, glGetUniformLocation(program, "turn"), values);
    for (int i = 0; i < 9; ++i)
        EXPECT_FLOAT_EQ(values[i], static_cast<float>(i + 1)) << "mat3 element " << i;
    glGetUniformfv(program, glGetUniformLocation(program, "warp"), values);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(values[i], static_cast<float>(i + 1)) << "mat4 element " << i;
}

TEST_F(ShaderTest, ShadersFromTheSameFilesHaveSeparateProgramsAndCaches)
{
    Shader first(colorVert, colorFrag);
    Shader second(colorVert, colorFrag);
    EXPECT_NE(first.handle(), second.handle());

    UniformRecorder counter;
    first.use();
    first.setUniform("gain", 2.0f);
    second.use();
    second.setUniform("gain", 3.0f);
    EXPECT_EQ(counter.locationQueries(), 2);
    first.use();
    first.setUniform("gain", 2.0f);
    EXPECT_EQ(counter.locationQueries(), 2);

    float gain = 0.0f;
    glGetUniformfv(first.handle(), first.getUniformLocation("gain"), &gain);
    EXPECT_FLOAT_EQ(gain, 2.0f);
    glGetUniformfv(second.handle(), second.getUniformLocation("gain"), &gain);
    EXPECT_FLOAT_EQ(gain, 3.0f);
}

TEST_F(ShaderTest, DestroyingAShaderDeletesItAndLeavesNoProgramCurrent)
{
    Shader other;
    GLuint destroyed = 0;
    {
        Shader shader(colorVert, colorFrag);
        destroyed = shader.handle();
        other.use();
        ASSERT_EQ(currentProgram(), static_cast<GLint>(other.handle()));
    }
    EXPECT_EQ(currentProgram(), 0);
    EXPECT_FALSE(glIsProgram(destroyed));
    EXPECT_TRUE(glIsProgram(other.handle()));
}

TEST_F(ShaderTest, MovedFromShaderHoldsNothingAndDeletesNothing)
{
    Shader original;
    const GLuint program = original.handle();
    Shader moved(std::move(original));
    EXPECT_EQ(original.handle(), 0u);
    EXPECT_EQ(moved.handle(), program);

    moved.use();
    {
        Shader empty(std::move(original));
    }
    EXPECT_EQ(currentProgram(), static_cast<GLint>(program));

    Shader assigned;
    const GLuint replaced = assigned.handle();
    assigned = std::move(moved);
    EXPECT_EQ(assigned.handle(), program);
    EXPECT_FALSE(glIsProgram(replaced));
    EXPECT_TRUE(glIsProgram(program));
}

TEST_F(ShaderTest, BuiltInShaderDrawsRedUntilFragColorIsSet)
{
    Shader shader;
    shader.use();
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    drawCoveringTriangle(0.0f);
    EXPECT_EQ(centre(), (std::vector<unsigned char>{255, 0, 0, 255}));

    shader.setUniform("fragColor", glm::vec3(0.0f, 1.0f, 0.0f));
    drawCoveringTriangle(0.0f);
    EXPECT_EQ(centre(), (std::vector<unsigned char>{0, 255, 0, 255}));
}

TEST_F(ShaderTest, BuiltInShaderNegatesDepth)
{
    Shader shader;
    shader.use();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // z = +0.5 lands in front (window depth 0.25) once negated.
    drawCoveringTriangle(0.5f);
    shader.setUniform("fragColor", glm::vec3(0.0f, 1.0f, 0.0f));
    drawCoveringTriangle(-0.5f);
    glDisable(GL_DEPTH_TEST);
    EXPECT_EQ(centre(), (std::vector<unsigned char>{255, 0, 0, 255}));
}

TEST_F(ShaderTest, CachedSetUniformAllocatesNothing)
{
    Shader shader(colorVert, colorFrag);
    shader.use();
    const std::string name = "tint";

    countAllocations = true;
    shader.setUniform(name, glm::vec3(1.0f));
    shader.setUniform("absent", 1.0f);
    countAllocations = false;
    ASSERT_GT(allocations.load(), 0) << "a first use fills the cache, so the counter must see it";

    allocations = 0;
    countAllocations = true;
    for (int i = 0; i < 10; ++i) {
        shader.setUniform("tint", glm::vec3(0.5f));
        shader.setUniform(name, glm::vec3(0.5f));
        shader.setUniform(std::string_view("tint"), glm::vec3(0.5f));
        shader.setUniform("absent", 1.0f);
    }
    countAllocations = false;
    EXPECT_EQ(allocations.load(), 0);
}

TEST_F(ShaderTest, SourceEndsAtANulByte)
{
    const ScratchFile file = scratchFile("ShaderNulByte", "nul.frag");
    writeFile(file.fullPath,
              std::string("#version 330 core\nout vec4 color;\nvoid main() { color = vec4(1.0); }\n") +
                  '\0' + "this is not GLSL {");
    ::testing::internal::CaptureStdout();
    Shader shader(colorVert, file.relativePath);
    ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(glIsProgram(shader.handle()));
}

TEST_F(ShaderDeathTest, MissingVertexFileEndsTheProcess)
{
    EXPECT_EXIT(
        {
            prepareFatalChild();
            Shader shader("tests/framework/data/missing.vert", colorFrag);
        },
        ::testing::ExitedWithCode(1),
        HasSubstr("Could not find shader file: tests/framework/data/missing.vert\n"));
}

TEST_F(ShaderDeathTest, MissingFragmentFileEndsTheProcessAfterTheVertexStage)
{
    EXPECT_EXIT(
        {
            prepareFatalChild();
            Shader shader(colorVert, "tests/framework/data/missing.frag");
        },
        ::testing::ExitedWithCode(1),
        HasSubstr("Read shader: " + colorVert +
                  "\nCould not find shader file: tests/framework/data/missing.frag\n"));
}

TEST_F(ShaderDeathTest, UnreadableFileEndsTheProcessWithItsResolvedPath)
{
    // Found by the search (a regular file that opens) but reading it fails:
    // /proc/self/mem refuses reads at address 0, even for root.
    const ScratchFile file = scratchFile("ShaderUnreadable", "unreadable.vert");
    std::filesystem::create_symlink("/proc/self/mem", file.fullPath);
    EXPECT_EXIT(
        {
            prepareFatalChild();
            Shader shader(file.relativePath, colorFrag);
        },
        ::testing::ExitedWithCode(1), HasSubstr("Unable to load file[" + file.fullPath + "]!\n"));
}

TEST_F(ShaderDeathTest, CompileErrorPrintsThePathAndTheLog)
{
    EXPECT_EXIT(
        {
            prepareFatalChild();
            Shader shader(colorVert, "tests/framework/data/broken.frag");
        },
        ::testing::ExitedWithCode(1),
        ::testing::ContainsRegex("Failed to compile shader: tests/framework/data/broken\\.frag\n.*error"));
}

TEST_F(ShaderDeathTest, EmptyFileFailsToBuild)
{
    EXPECT_EXIT(
        {
            prepareFatalChild();
            Shader shader(colorVert, "tests/framework/data/empty.frag");
        },
        // Mesa rejects the empty source at compile time; other drivers at link time.
        ::testing::ExitedWithCode(1),
        ::testing::ContainsRegex(
            "Failed to (compile shader: tests/framework/data/empty\\.frag|link shader program:)\n"));
}

// A fatal failure while the framework's own program exists ends the process
// without deleting it: no GL call while the process goes down.
TEST_F(ShaderDeathTest, FatalExitLeavesWithoutTouchingGl)
{
    EXPECT_EXIT(
        {
            prepareFatalChild();
            initFramework();
            static PFNGLDELETEPROGRAMPROC realDelete = __glewDeleteProgram;
            __glewDeleteProgram = [](GLuint program) {
                std::fputs("glDeleteProgram during exit\n", stderr);
                realDelete(program);
            };
            Shader shader("tests/framework/data/missing.vert", colorFrag);
        },
        ::testing::ExitedWithCode(1), Not(HasSubstr("glDeleteProgram during exit")));
}

TEST_F(ShaderDeathTest, LinkErrorPrintsTheLog)
{
    EXPECT_EXIT(
        {
            prepareFatalChild();
            Shader shader(colorVert, "tests/framework/data/no_main.frag");
        },
        ::testing::ExitedWithCode(1), ::testing::ContainsRegex("Failed to link shader program:\n.*main"));
}
