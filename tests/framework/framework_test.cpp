// Framework start and stop, and the wording and filter of the debug output.
#include "framework/framework.h"

#include "framework/shader.h"
#include "support/gl_test_context.h"

#include <utility>

namespace {

GLint currentProgram()
{
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

// Counts program creations by wrapping GLEW's pointer.
struct ProgramCreationCounter {
    static inline int created = 0;
    static inline PFNGLCREATEPROGRAMPROC realCreateProgram = nullptr;

    ProgramCreationCounter()
    {
        created = 0;
        realCreateProgram = std::exchange(__glewCreateProgram, createProgram);
    }
    ~ProgramCreationCounter() { __glewCreateProgram = realCreateProgram; }

    static GLuint GLAPIENTRY createProgram()
    {
        ++created;
        return realCreateProgram();
    }
};

std::string captureDebugMessage(GLuint id)
{
    ::testing::internal::CaptureStdout();
    const char message[] = "buffer detailed info";
    onDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_OTHER, id, GL_DEBUG_SEVERITY_NOTIFICATION,
                   static_cast<GLsizei>(sizeof message - 1), message, nullptr);
    return ::testing::internal::GetCapturedStdout();
}

using FrameworkTest = GlTest;

}  // namespace

TEST_F(FrameworkTest, InitWithoutCurrentProgramMakesTheBuiltInProgramCurrent)
{
    ASSERT_EQ(currentProgram(), 0);
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(initFramework());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    const GLint program = currentProgram();
    EXPECT_NE(program, 0);

    destroyFramework();
    EXPECT_EQ(currentProgram(), 0);
    EXPECT_FALSE(glIsProgram(static_cast<GLuint>(program)));
    destroyFramework();
    EXPECT_EQ(currentProgram(), 0);
}

TEST_F(FrameworkTest, InitAgainReplacesTheBuiltInProgram)
{
    ASSERT_TRUE(initFramework());
    const GLuint first = static_cast<GLuint>(currentProgram());
    glUseProgram(0);
    ASSERT_TRUE(initFramework());
    const GLuint second = static_cast<GLuint>(currentProgram());
    EXPECT_NE(second, 0u);
    EXPECT_NE(second, first);
    EXPECT_FALSE(glIsProgram(first)) << "the first built-in program was not released";
    destroyFramework();
}

TEST_F(FrameworkTest, InitWithAProgramCurrentBuildsNothing)
{
    Shader harness;
    harness.use();
    ProgramCreationCounter counter;
    EXPECT_TRUE(initFramework());
    EXPECT_EQ(counter.created, 0);
    EXPECT_EQ(currentProgram(), static_cast<GLint>(harness.handle()));

    destroyFramework();
    EXPECT_EQ(currentProgram(), static_cast<GLint>(harness.handle()));
}

TEST_F(FrameworkTest, InitWithoutContextFails)
{
    glfwMakeContextCurrent(nullptr);
    ::testing::internal::CaptureStdout();
    const bool ready = initFramework();
    const std::string output = ::testing::internal::GetCapturedStdout();
    glfwMakeContextCurrent(window);
    EXPECT_FALSE(ready);
    EXPECT_EQ(output, "No context available. Exiting.\n");
}

TEST_F(FrameworkTest, InitWithoutOpenGL3Fails)
{
    const GLboolean saved = __GLEW_VERSION_3_0;
    __GLEW_VERSION_3_0 = GL_FALSE;
    ::testing::internal::CaptureStdout();
    const bool ready = initFramework();
    const std::string output = ::testing::internal::GetCapturedStdout();
    __GLEW_VERSION_3_0 = saved;
    EXPECT_FALSE(ready);
    EXPECT_EQ(output, "GLEW not available. Exiting.\n");
    EXPECT_EQ(currentProgram(), 0);
}

TEST(DebugOutput, DropsTheTwoNoisyIds)
{
    EXPECT_EQ(captureDebugMessage(131185), "");
    EXPECT_EQ(captureDebugMessage(131218), "");
}

TEST(DebugOutput, PrintsEveryOtherIdAsOneLine)
{
    EXPECT_EQ(captureDebugMessage(0),
              "OpenGL Error: buffer detailed info [Source=API, Type=OTHER, Severity=NOTIFICATION, ID=0]\n");
    EXPECT_EQ(captureDebugMessage(131184),
              "OpenGL Error: buffer detailed info [Source=API, Type=OTHER, Severity=NOTIFICATION, "
              "ID=131184]\n");
}

TEST(DebugOutput, FormatNamesEachEnumWithoutItsPrefix)
{
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 1282, GL_DEBUG_SEVERITY_HIGH,
                                 "GL_INVALID_OPERATION in glDrawArrays"),
              "OpenGL Error: GL_INVALID_OPERATION in glDrawArrays "
              "[Source=API, Type=ERROR, Severity=HIGH, ID=1282]");
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_SHADER_COMPILER, GL_DEBUG_TYPE_PERFORMANCE, 7,
                                 GL_DEBUG_SEVERITY_MEDIUM, "slow"),
              "OpenGL Error: slow [Source=SHADER_COMPILER, Type=PERFORMANCE, Severity=MEDIUM, ID=7]");
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_WINDOW_SYSTEM, GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR, 2,
                                 GL_DEBUG_SEVERITY_LOW, "m"),
              "OpenGL Error: m [Source=WINDOW_SYSTEM, Type=UNDEFINED_BEHAVIOR, Severity=LOW, ID=2]");
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR, 3,
                                 GL_DEBUG_SEVERITY_NOTIFICATION, "m"),
              "OpenGL Error: m [Source=APPLICATION, Type=DEPRECATED_BEHAVIOR, Severity=NOTIFICATION, ID=3]");
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_THIRD_PARTY, GL_DEBUG_TYPE_PORTABILITY, 4,
                                 GL_DEBUG_SEVERITY_HIGH, "m"),
              "OpenGL Error: m [Source=THIRD_PARTY, Type=PORTABILITY, Severity=HIGH, ID=4]");
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_OTHER, GL_DEBUG_TYPE_MARKER, 5, GL_DEBUG_SEVERITY_HIGH, "m"),
              "OpenGL Error: m [Source=OTHER, Type=MARKER, Severity=HIGH, ID=5]");
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_PUSH_GROUP, 6,
                                 GL_DEBUG_SEVERITY_HIGH, "m"),
              "OpenGL Error: m [Source=API, Type=PUSH_GROUP, Severity=HIGH, ID=6]");
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_POP_GROUP, 6,
                                 GL_DEBUG_SEVERITY_HIGH, "m"),
              "OpenGL Error: m [Source=API, Type=POP_GROUP, Severity=HIGH, ID=6]");
}

TEST(DebugOutput, FormatWritesUnknownEnumsInHex)
{
    EXPECT_EQ(formatDebugMessage(0x1234, 0xABCD, 4294967295u, 0x9999, "m"),
              "OpenGL Error: m [Source=0x1234, Type=0xABCD, Severity=0x9999, ID=4294967295]");
}

TEST(DebugOutput, FormatSurvivesAMissingMessage)
{
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 1, GL_DEBUG_SEVERITY_HIGH,
                                 nullptr),
              "OpenGL Error:  [Source=API, Type=ERROR, Severity=HIGH, ID=1]");
}
