// The game's GLSL programs as the game uses them: every uniform the game
// asks a program for is one it has, and every uniform a program reads is one
// the game sets. Then what the full-screen programs draw: the blur spreads
// one texel evenly along one axis, the composite keeps the sky.
#include "framework/console.h"
#include "framework/shader.h"
#include "gl_calls.h"
#include "support/game_fixture.h"
#include "support/gl_test_context.h"

#include "app/startup.h"
#include "framework/framework.h"
#include "scene/fullscreen_quad.h"
#include "scene/level.h"
#include "scene/render_targets.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

const glm::vec3 sky(0.529f, 0.808f, 0.922f);

// The uniforms a program declares, by name.
std::set<std::string> activeUniforms(GLuint program)
{
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    std::set<std::string> found;
    for (GLint i = 0; i < count; ++i) {
        char name[128] = {};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type, name);
        found.insert(name);
    }
    return found;
}

// What the render targets' first ping-pong target holds, RGBA floats,
// bottom row first: the output of the programs drawn here.
std::vector<glm::vec4> readPingPong(const RenderTargets& targets)
{
    glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFramebuffer(0));
    std::vector<glm::vec4> pixels(static_cast<size_t>(targets.width()) * static_cast<size_t>(targets.height()));
    glReadPixels(0, 0, targets.width(), targets.height(), GL_RGBA, GL_FLOAT, pixels.data());
    return pixels;
}

// A linearly filtered RGBA16F texture holding `pixels` (bottom row first).
GLuint floatTexture(int width, int height, const std::vector<glm::vec4>& pixels)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return name;
}

float maxDifference(const glm::vec3& a, const glm::vec3& b)
{
    const glm::vec3 d = glm::abs(a - b);
    return std::max(d.x, std::max(d.y, d.z));
}

class ProgramTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        quad.emplace();
    }
    void TearDown() override
    {
        quad.reset();
        GlTest::TearDown();
    }

    static std::unique_ptr<Shader> build(const std::string& vertex, const std::string& fragment)
    {
        const CapturedConsole quiet;
        return std::make_unique<Shader>("assets/shaders/" + vertex, "assets/shaders/" + fragment);
    }

    // One blur pass of the square `source` into a new target.
    std::vector<glm::vec4> blurOnce(Shader& blur, int horizontal, int size, const std::vector<glm::vec4>& source)
    {
        const GLuint input = floatTexture(size, size, source);
        RenderTargets output;
        output.create(size, size);
        glBindFramebuffer(GL_FRAMEBUFFER, output.pingpongFramebuffer(0));
        glViewport(0, 0, size, size);
        blur.use();
        blur.setUniform("horizontal", horizontal);
        blur.setUniform("pixelStep", glm::vec2(1.0f / static_cast<float>(size)));
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, input);
        quad->draw();
        std::vector<glm::vec4> result = readPingPong(output);
        glDeleteTextures(1, &input);
        return result;
    }

    // The displayed colour of one pixel whose scene and bloom values are given.
    glm::vec3 composite(const glm::vec3& scene, const glm::vec3& bloom, float exposure = 1.0f)
    {
        auto program = build("quad.vert", "bloomFinal.frag");
        const GLuint sceneTexture = floatTexture(1, 1, {glm::vec4(scene, 1.0f)});
        const GLuint bloomTexture = floatTexture(1, 1, {glm::vec4(bloom, 1.0f)});
        RenderTargets output;
        output.create(1, 1);
        glBindFramebuffer(GL_FRAMEBUFFER, output.pingpongFramebuffer(0));
        glViewport(0, 0, 1, 1);
        program->use();
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, sceneTexture);
        program->setUniform("sceneTexture", 0);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, bloomTexture);
        program->setUniform("bloomTexture", 1);
        program->setUniform("exposure", exposure);
        program->setUniform("bloomIntensity", 2.0f);
        quad->draw();
        const glm::vec3 shown(readPingPong(output).front());
        glDeleteTextures(1, &sceneTexture);
        glDeleteTextures(1, &bloomTexture);
        glActiveTexture(GL_TEXTURE0);
        return shown;
    }

    std::optional<FullscreenQuad> quad;
};

using ProgramContract = GameFixture;

}  // namespace

// Built as the game builds them and drawn with every switch on, the
// programs have every uniform the game asks them for, and read no uniform
// the game never sets: a name changed on either side shows here. The bake
// may ignore the matrices every draw sets; the blur reads its image from
// the unit it is left at.
TEST_F(ProgramContract, EveryProgramHasTheUniformsTheGameSetsAndNoOthers)
{
    releaseRendering(app);
    GlCallRecorder recorder(true);
    app.renderTargets.create(windowWidth, windowHeight);
    const CapturedConsole quiet;
    initFramework(true);
    app.level = buildLevel(app.course, windowWidth, windowHeight);
    app.switches.normals = true;
    frames(3);

    std::map<GLuint, std::set<std::string>> asked;
    for (const LocationQuery& query : recorder.locationQueries()) {
        asked[query.program].insert(query.name);
        const bool bakeMatrix = query.name == "modelMatrix" || query.name == "normalMatrix";
        if (!bakeMatrix) {
            EXPECT_NE(query.location, -1) << "program " << query.program << " lacks " << query.name;
        }
    }
    ASSERT_GE(asked.size(), 9u) << "every program of the level";
    for (const auto& [program, names] : asked) {
        for (const std::string& name : activeUniforms(program)) {
            if (name != "image") {
                EXPECT_EQ(names.count(name), 1u) << "program " << program << " reads " << name << ", never set";
            }
        }
    }
}

TEST_F(ProgramTest, BlurSpreadsOneTexelAlongTheChosenAxisOnly)
{
    auto blur = build("bloomBlur.vert", "bloomBlur.frag");
    constexpr int size = 16;
    std::vector<glm::vec4> source(size * size, glm::vec4(0.0f));
    source[8 * size + 8] = glm::vec4(1.0f);

    // An even five-texel spread around the lit texel along the axis, nothing elsewhere.
    for (int horizontal : {1, 0}) {
        SCOPED_TRACE(horizontal);
        const std::vector<glm::vec4> result = blurOnce(*blur, horizontal, size, source);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const int along = horizontal ? x : y, across = horizontal ? y : x;
                const float expected = across == 8 && along >= 6 && along <= 10 ? 0.2f : 0.0f;
                EXPECT_NEAR(result[static_cast<size_t>(y * size + x)].r, expected, expected * 0.05f) << x << "," << y;
            }
        }
    }
}

TEST_F(ProgramTest, CompositeKeepsBlackAndTheSkyAndAddsStrongGlow)
{
    EXPECT_EQ(composite(glm::vec3(0.0f), glm::vec3(0.0f)), glm::vec3(0.0f));
    // The sky is in both images: the sky shown differs by at most 0.05 per
    // channel (only the shoulder of the tone map touches its blue and green),
    // which keeps blue above green above red.
    const glm::vec3 shownSky = composite(sky, sky);
    EXPECT_LT(maxDifference(shownSky, sky), 0.05f) << shownSky.r << " " << shownSky.g << " " << shownSky.b;
    // Dark colours pass unchanged; exposure scales before the tone map.
    const glm::vec3 stone(0.2f, 0.3f, 0.1f);
    EXPECT_LT(maxDifference(composite(stone, glm::vec3(0.0f)), stone), 0.002f);
    EXPECT_LT(maxDifference(composite(stone, glm::vec3(0.0f), 2.0f), stone * 2.0f), 0.002f);
    // A glow spilling onto a dark wall lights it; bright light stays below 1.
    // Glow brighter than white is added twice over: blue 0.1 + 2 * 0.6 is
    // rolled off by the tone map, the red glow of 0.3 adds nothing.
    const glm::vec3 halo = composite(glm::vec3(0.1f), glm::vec3(0.3f, 0.3f, 1.6f));
    EXPECT_NEAR(halo.r, 0.1f, 0.002f);
    EXPECT_GT(halo.b, 0.9f);
    EXPECT_LT(halo.b, 1.0f);
    // Neither the sky blurred onto a dark ring nor a glow weaker than the
    // surface it lies on adds anything.
    EXPECT_LT(maxDifference(composite(stone, sky * 0.8f), stone), 0.002f);
    EXPECT_LT(maxDifference(composite(glm::vec3(1.5f), glm::vec3(1.2f)), composite(glm::vec3(1.5f), glm::vec3(0.0f))),
              0.002f);
    const glm::vec3 core = composite(glm::vec3(2.0f), glm::vec3(8.0f));
    EXPECT_GT(core.r, 0.98f);
    EXPECT_LE(core.r, 1.0f);
}
