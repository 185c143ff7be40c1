// Framework start and stop, the debug output's lines, and the render state
// that start-up sets.
#include "framework/framework.h"

#include "framework/console.h"
#include "framework/render_state.h"
#include "framework/shader.h"
#include "gl_calls.h"
#include "support/gl_test_context.h"

namespace {

GLint currentProgram()
{
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

std::string initOutput(bool contextIsCurrent, bool* ready)
{
    const CapturedConsole console;
    *ready = initFramework(contextIsCurrent);
    return console.text(StandardStream::output);
}

using FrameworkTest = GlTest;

}  // namespace

TEST_F(FrameworkTest, InitMakesTheBuiltInProgramCurrentUnlessOneIsAndDestroyDropsIt)
{
    bool ready = true;
    EXPECT_EQ(initOutput(false, &ready), "No context available. Exiting.\n");
    EXPECT_FALSE(ready);
    EXPECT_EQ(initOutput(true, &ready), "");
    EXPECT_TRUE(ready);
    const GLint builtIn = currentProgram();
    EXPECT_NE(builtIn, 0);
    glUseProgram(0);
    initFramework(true);  // again: the first program goes
    EXPECT_FALSE(glIsProgram(static_cast<GLuint>(builtIn)));
    destroyFramework();
    EXPECT_EQ(currentProgram(), 0);
    destroyFramework();  // harmless twice

    Shader own;
    own.use();
    const GLint ownProgram = currentProgram();
    GlCallRecorder recorder;
    EXPECT_TRUE(initFramework(true));
    EXPECT_EQ(recorder.callsTo("glCreateProgram"), 0);
    EXPECT_EQ(currentProgram(), ownProgram);
}

// One line per message in the driver's words, each enum named without its
// prefix or else in hex, at the driver's own severity whatever the fixed
// prefix says; the two noisy NVIDIA ids are dropped.
TEST(DebugOutput, EachMessageIsOneLineAtItsSeverityExceptTheTwoNoisyIds)
{
    const struct {
        GLenum source, type;
        GLuint id;
        GLenum severity;
        const char* message;
        std::string line;
        Severity reported;
    } cases[] = {
        {GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 1282, GL_DEBUG_SEVERITY_HIGH, "bad call",
         "OpenGL Error: bad call [Source=API, Type=ERROR, Severity=HIGH, ID=1282]\n", Severity::error},
        {GL_DEBUG_SOURCE_SHADER_COMPILER, GL_DEBUG_TYPE_PERFORMANCE, 131184, GL_DEBUG_SEVERITY_NOTIFICATION, "slow",
         "OpenGL Error: slow [Source=SHADER_COMPILER, Type=PERFORMANCE, Severity=NOTIFICATION, ID=131184]\n",
         Severity::information},
        {0x1234, 0xABCD, 4294967295u, 0x9999, nullptr,
         "OpenGL Error:  [Source=0x1234, Type=0xABCD, Severity=0x9999, ID=4294967295]\n", Severity::warning},
        {GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_OTHER, 131185u, GL_DEBUG_SEVERITY_HIGH, "m", "", Severity::error},
        {GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_OTHER, 131218u, GL_DEBUG_SEVERITY_HIGH, "m", "", Severity::error},
    };
    for (const auto& c : cases) {
        const CapturedConsole console;
        onDebugMessage(c.source, c.type, c.id, c.severity, 0, c.message, nullptr);
        EXPECT_EQ(console.text(StandardStream::output), c.line);
        for (const ReportedLine& line : console.lines())
            EXPECT_EQ(line.severity, c.reported) << line.text;
    }
}

TEST_F(FrameworkTest, StartUpBlendsTestsDepthAndClearsToTheSky)
{
    RendererSettings settings;
    settings.depthtest = false;
    applyInitialRenderState(settings);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    applyInitialRenderState(RendererSettings{});
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC_RGB, &source);
    glGetIntegerv(GL_BLEND_DST_RGB, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(readPixels(10, 10, 1, 1), (std::vector<unsigned char>{135, 206, 235, 255}));
}
