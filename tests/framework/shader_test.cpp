// Programs: what building says when it works and when it fails, the fatal
// wrapper, the uniform location cache, and what the built-in program draws.
#include "framework/shader.h"

#include "framework/console.h"
#include "framework/framework.h"

#include "allocation_counter.h"
#include "gl_calls.h"
#include "support/gl_object_census.h"
#include "support/gl_test_context.h"
#include "support/test_paths.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <unistd.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const std::string colorVert = "tests/framework/data/color.vert";
const std::string colorFrag = "tests/framework/data/color.frag";

// Standard input closed and standard output on standard error, where the
// death test sees it.
void prepareFatalChild()
{
    std::freopen("/dev/null", "r", stdin);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

using ShaderTest = GlTest;

class ShaderDeathTest : public GlTest {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        GlTest::SetUp();
    }
};

}  // namespace

// Each failure says what failed in the game's words; the stages that
// compiled before it are reported first, vertex before fragment.
TEST_F(ShaderTest, BuildingReportsEachStageAndWhyItFailed)
{
    const ScratchAsset unreadable = writeScratchAsset("shader_unreadable", "unreadable.frag", "");
    std::filesystem::remove(unreadable.fullPath);
    // Found by the search, a regular file, yet not readable: reading
    // /proc/self/mem at offset 0 fails, even for root.
    std::filesystem::create_symlink("/proc/self/mem", unreadable.fullPath);
    // A source ends at a NUL byte.
    const ScratchAsset nul = writeScratchAsset(
        "shader_nul", "nul.frag",
        std::string("#version 330 core\nout vec4 color;\nvoid main() { color = vec4(1.0); }\n") + '\0' + "{");
    struct Case {
        std::string vertex;
        std::string fragment;
        std::vector<std::string> progress;
        std::string failure;  // the start of the failure's first line, then a piece of its second
        std::string log;
    };
    const std::string data = "tests/framework/data/";
    const Case cases[] = {
        {colorVert, colorFrag, {"Read shader: " + colorVert, "Read shader: " + colorFrag}, "", ""},
        {colorVert, nul.relativePath, {"Read shader: " + colorVert, "Read shader: " + nul.relativePath}, "", ""},
        {data + "missing.vert", colorFrag, {}, "Could not find shader file: " + data + "missing.vert", ""},
        {colorVert, data + "missing.frag", {"Read shader: " + colorVert},
         "Could not find shader file: " + data + "missing.frag", ""},
        {colorVert, unreadable.relativePath, {"Read shader: " + colorVert},
         "Unable to load file[" + unreadable.fullPath + "]!", ""},
        {colorVert, data + "broken.frag", {"Read shader: " + colorVert},
         "Failed to compile shader: " + data + "broken.frag", "error"},
        {colorVert, data + "no_main.frag", {"Read shader: " + colorVert, "Read shader: " + data + "no_main.frag"},
         "Failed to link shader program:", "main"},
    };
    for (const Case& c : cases) {
        const ProgramBuild build = buildProgram({c.vertex, c.fragment});
        EXPECT_EQ(build.progress, c.progress) << c.fragment;
        EXPECT_EQ(static_cast<bool>(build.program), c.failure.empty()) << c.fragment;
        EXPECT_EQ(build.failure.empty() ? "" : build.failure[0], c.failure) << c.fragment;
        EXPECT_THAT(build.failure.size() > 1 ? build.failure[1] : "", HasSubstr(c.log)) << c.fragment;
    }
    // An empty text is no shader: the driver refuses it compiling or linking.
    EXPECT_FALSE(buildProgram({colorVert, data + "empty.frag"}).program);
    debugMessages().clear();  // the driver's own words on the failed compiles
}

// A fatal failure while the framework's own program exists ends the process
// without deleting it: no GL call while the process goes down.
TEST_F(ShaderDeathTest, AFatalExitLeavesWithoutTouchingGl)
{
    EXPECT_EXIT(
        {
            prepareFatalChild();
            initFramework(true);
            static PFNGLDELETEPROGRAMPROC realDelete = __glewDeleteProgram;
            __glewDeleteProgram = [](GLuint program) {
                std::fputs("glDeleteProgram during exit\n", stderr);
                realDelete(program);
            };
            Shader shader("tests/framework/data/missing.vert", colorFrag);
        },
        ::testing::ExitedWithCode(1), Not(HasSubstr("glDeleteProgram during exit")));
}

// Every setter reaches the program: the colour drawn comes from all six.
// One location query per name for the life of the program, a missing
// uniform never uploaded, and a cached upload allocates nothing.
TEST_F(ShaderTest, EverySetterUploadsItsValueAndAsksForItsLocationOnce)
{
    const CapturedConsole quiet;
    Shader shader(colorVert, colorFrag);
    shader.use();
    GlCallRecorder recorder;
    shader.setUniform("notInTheProgram", 1.0f);
    shader.setUniform("notInTheProgram", 2.0f);
    shader.setUniform("gain", 0.5f);
    EXPECT_EQ(recorder.counts().locationQueries, 2);
    EXPECT_EQ(recorder.callsTo("glUniform1f"), 1);
    AllocationCounter allocations;
    for (int i = 0; i < 10; ++i)
        shader.setUniform("gain", 0.5f + static_cast<float>(i));
    EXPECT_EQ(allocations.count(), 0);
    EXPECT_EQ(recorder.callsTo("glUniform1f"), 11);
    EXPECT_EQ(recorder.counts().locationQueries, 2);

    shader.setUniform("tint", glm::vec3(0.0f, 0.0f, 1.0f));
    shader.setUniform("turn", glm::mat3(glm::vec3(0, 1, 0), glm::vec3(0, 0, 1), glm::vec3(1, 0, 0)));  // z to x
    shader.setUniform("warp", glm::mat4(0.5f));
    shader.setUniform("mode", 1);
    shader.setUniform("gain", 2.0f);
    shader.setUniform("offset", glm::vec4(0.0f, 0.0f, 0.25f, 0.0f));
    drawCoveringTriangle();
    // turn * (0, 0, 1) = (1, 0, 0); warp halves it with w 0.5; gain doubles; offset adds blue.
    EXPECT_EQ(readPixels(32, 32, 1, 1), (std::vector<unsigned char>{255, 0, 64, 255}));
}

// The built-in program draws in "fragColor", red by default, at negated
// depth. The program goes with its Shader, which leaves no program current,
// and a moved-from Shader deletes nothing.
TEST_F(ShaderTest, TheBuiltInProgramDrawsInFragColorAndMovesWithItsShader)
{
    const GlObjectCensus before = countLiveGlObjects();
    {
        Shader first;
        Shader second(std::move(first));
        Shader shader;
        shader = std::move(second);
        EXPECT_EQ(countLiveGlObjects().programs, before.programs + 1);
        shader.use();
        glEnable(GL_DEPTH_TEST);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawCoveringTriangle(-0.5f);  // drawn at depth +0.5
        EXPECT_EQ(readPixels(32, 32, 1, 1), (std::vector<unsigned char>{255, 0, 0, 255}));
        float depth = 0.0f;
        glReadPixels(32, 32, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_NEAR(depth, 0.75f, 1e-3f);
        shader.setUniform("fragColor", glm::vec3(0.0f, 1.0f, 0.0f));
        glDisable(GL_DEPTH_TEST);
        drawCoveringTriangle();
        EXPECT_EQ(readPixels(32, 32, 1, 1), (std::vector<unsigned char>{0, 255, 0, 255}));
    }
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(countLiveGlObjects(), before);
}
