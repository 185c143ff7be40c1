// The game's GLSL programs under assets/shaders: each compiles and links,
// exposes the uniforms the frame sets with the types it sets them as, reads
// only the vertex attributes its meshes feed and writes the outputs its
// target has. Then what the programs draw: the blur spreads along one axis
// and keeps even areas, the composite keeps the sky, the bake is opaque and
// lit from above, the fairy body glows, the water's normal view, the
// clouds' gaps and edges.
#include "framework/asset_path.h"
#include "framework/file_io.h"
#include "framework/geometry.h"
#include "framework/geometry_data.h"
#include "framework/material.h"
#include "framework/shader.h"
#include "support/gl_test_context.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using ::testing::ElementsAre;

const glm::vec3 skyColor(0.529f, 0.808f, 0.922f);

struct ProgramFiles {
    const char* name;
    std::string vertex;
    std::string fragment;
};

ProgramFiles filesOf(const char* name, const std::string& vertex, const std::string& fragment)
{
    return {name, "assets/shaders/" + vertex, "assets/shaders/" + fragment};
}

const ProgramFiles texture = filesOf("texture", "texture.vert", "texture.frag");
const ProgramFiles lightmapGen = filesOf("lightmapGen", "lightmapGen.vert", "lightmapGen.frag");
const ProgramFiles wellFinal = filesOf("wellFinal", "wellFinal.vert", "wellFinal.frag");
const ProgramFiles water = filesOf("water", "water.vert", "water.frag");
const ProgramFiles cloudProcedural = filesOf("cloudProcedural", "cloudProcedural.vert", "cloudProcedural.frag");
const ProgramFiles bloomBlur = filesOf("bloomBlur", "bloomBlur.vert", "bloomBlur.frag");
const ProgramFiles bloomFinal = filesOf("bloomFinal", "quad.vert", "bloomFinal.frag");

using UniformTypes = std::map<std::string, GLenum>;

UniformTypes lightBlock(const std::string& directional, const std::string& point)
{
    return {{directional + ".color", GL_FLOAT_VEC3},  {directional + ".direction", GL_FLOAT_VEC3},
            {point + ".color", GL_FLOAT_VEC3},        {point + ".position", GL_FLOAT_VEC3},
            {point + ".attenuation", GL_FLOAT_VEC3},  {"fairyL.color", GL_FLOAT_VEC3},
            {"fairyL.position", GL_FLOAT_VEC3},       {"fairyL.attenuation", GL_FLOAT_VEC3}};
}

UniformTypes merged(UniformTypes a, const UniformTypes& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

const UniformTypes placement = {{"viewProjMatrix", GL_FLOAT_MAT4},
                                {"modelMatrix", GL_FLOAT_MAT4},
                                {"normalMatrix", GL_FLOAT_MAT3},
                                {"camera_world", GL_FLOAT_VEC3}};
const UniformTypes material = {{"materialCoefficients", GL_FLOAT_VEC3}, {"specularAlpha", GL_FLOAT}};

// A shader stage's info log, or "" once it compiles; the game's Shader would
// end the process instead, which tells a test run nothing.
std::string compileErrors(const std::string& relativePath, GLenum stage)
{
    const std::optional<std::string> source = readWholeFile(findAssetPath(relativePath));
    if (!source)
        return "cannot read " + relativePath;
    const GLuint shader = glCreateShader(stage);
    const char* text = source->c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    std::string log;
    if (compiled == GL_FALSE) {
        GLint length = 0;
        glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
        std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
        glGetShaderInfoLog(shader, length, nullptr, buffer.data());
        log = relativePath + ": " + buffer.data();
    }
    glDeleteShader(shader);
    return log;
}

UniformTypes activeUniforms(GLuint program)
{
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    UniformTypes found;
    for (GLint i = 0; i < count; ++i) {
        char name[128] = {};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type, name);
        found[name] = type;
    }
    return found;
}

std::set<GLint> resourceLocations(GLuint program, GLenum interface)
{
    GLint count = 0;
    glGetProgramInterfaceiv(program, interface, GL_ACTIVE_RESOURCES, &count);
    std::set<GLint> locations;
    for (GLint i = 0; i < count; ++i) {
        const GLenum property = GL_LOCATION;
        GLint location = -1;
        glGetProgramResourceiv(program, interface, static_cast<GLuint>(i), 1, &property, 1, nullptr, &location);
        locations.insert(location);
    }
    return locations;
}

// An off-screen target of RGBA16F colour attachments, like the scene target.
class FloatTarget {
public:
    FloatTarget(int width, int height, int attachments = 1) : width_(width), height_(height)
    {
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        textures_.resize(static_cast<size_t>(attachments));
        glGenTextures(attachments, textures_.data());
        std::vector<GLenum> drawBuffers;
        for (int i = 0; i < attachments; ++i) {
            glBindTexture(GL_TEXTURE_2D, textures_[static_cast<size_t>(i)]);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + static_cast<GLenum>(i), GL_TEXTURE_2D,
                                   textures_[static_cast<size_t>(i)], 0);
            drawBuffers.push_back(GL_COLOR_ATTACHMENT0 + static_cast<GLenum>(i));
        }
        glGenRenderbuffers(1, &depth_);
        glBindRenderbuffer(GL_RENDERBUFFER, depth_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
        glDrawBuffers(attachments, drawBuffers.data());
        glViewport(0, 0, width, height);
    }
    ~FloatTarget()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
        glDeleteRenderbuffers(1, &depth_);
    }
    FloatTarget(const FloatTarget&) = delete;
    FloatTarget& operator=(const FloatTarget&) = delete;

    void bind() const
    {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glViewport(0, 0, width_, height_);
    }

    // RGBA floats of one attachment, bottom row first.
    std::vector<glm::vec4> read(int attachment = 0) const
    {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
        glReadBuffer(GL_COLOR_ATTACHMENT0 + static_cast<GLenum>(attachment));
        std::vector<glm::vec4> pixels(static_cast<size_t>(width_) * static_cast<size_t>(height_));
        glReadPixels(0, 0, width_, height_, GL_RGBA, GL_FLOAT, pixels.data());
        return pixels;
    }

    glm::vec4 at(const std::vector<glm::vec4>& pixels, int x, int y) const
    {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    }

    GLuint texture(int attachment = 0) const { return textures_[static_cast<size_t>(attachment)]; }

private:
    int width_;
    int height_;
    GLuint framebuffer_ = 0;
    GLuint depth_ = 0;
    std::vector<GLuint> textures_;
};

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

class ShaderFilesTest : public GlTest {
protected:
    void TearDown() override
    {
        glDeleteVertexArrays(1, &quadVao);
        glDeleteBuffers(1, &quadBuffer);
        GlTest::TearDown();
    }

    std::shared_ptr<Shader> build(const ProgramFiles& files)
    {
        const std::string errors =
            compileErrors(files.vertex, GL_VERTEX_SHADER) + compileErrors(files.fragment, GL_FRAGMENT_SHADER);
        EXPECT_EQ(errors, "") << files.name;
        if (!errors.empty())
            return nullptr;
        testing::internal::CaptureStdout();
        auto shader = std::make_shared<Shader>(files.vertex, files.fragment);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "Read shader: " + files.vertex + "\nRead shader: " + files.fragment + "\n");
        return shader;
    }

    // The game's full-screen quad: two counter-clockwise triangles of (x, y, u, v).
    void drawQuad()
    {
        if (quadVao == 0) {
            const float vertices[] = {-1, 1, 0, 1, -1, -1, 0, 0, 1, -1, 1, 0,
                                      -1, 1, 0, 1, 1,  -1, 1, 0, 1, 1,  1, 1};
            glGenVertexArrays(1, &quadVao);
            glGenBuffers(1, &quadBuffer);
            glBindVertexArray(quadVao);
            glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
            glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STATIC_DRAW);
            glEnableVertexAttribArray(0);
            glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 16, nullptr);
            glEnableVertexAttribArray(1);
            glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 16, reinterpret_cast<const void*>(8));
        }
        glBindVertexArray(quadVao);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        glBindVertexArray(0);
    }

    // One blur pass of `source` (width x height) into a new target, which
    // holds `before` when the pass starts.
    std::vector<glm::vec4> blurOnce(Shader& blur, int horizontal, int width, int height,
                                    const std::vector<glm::vec4>& source, const glm::vec4& before = glm::vec4(0.0f))
    {
        const GLuint input = floatTexture(width, height, source);
        FloatTarget output(width, height);
        glClearColor(before.r, before.g, before.b, before.a);
        glClear(GL_COLOR_BUFFER_BIT);
        blur.use();
        blur.setUniform("horizontal", horizontal);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, input);
        drawQuad();
        std::vector<glm::vec4> result = output.read();
        glDeleteTextures(1, &input);
        return result;
    }

    // The displayed colour of one pixel whose scene and bloom values are given.
    glm::vec3 composite(const glm::vec3& scene, const glm::vec3& bloom, float exposure = 1.0f)
    {
        auto program = build(bloomFinal);
        if (!program)
            return glm::vec3(-1.0f);
        const GLuint sceneTexture = floatTexture(1, 1, {glm::vec4(scene, 1.0f)});
        const GLuint bloomTexture = floatTexture(1, 1, {glm::vec4(bloom, 1.0f)});
        FloatTarget output(1, 1);
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        program->use();
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, sceneTexture);
        program->setUniform("sceneTexture", 0);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, bloomTexture);
        program->setUniform("bloomTexture", 1);
        program->setUniform("exposure", exposure);
        program->setUniform("bloomIntensity", 2.0f);
        drawQuad();
        const glm::vec3 shown(output.read().front());
        glDeleteTextures(1, &sceneTexture);
        glDeleteTextures(1, &bloomTexture);
        glActiveTexture(GL_TEXTURE0);
        return shown;
    }

    void setLights(Shader& shader, const std::string& directional, const std::string& point,
                   const glm::vec3& fairyPosition)
    {
        shader.setUniform(directional + ".color", glm::vec3(1.35f, 1.35f, 1.05f));
        shader.setUniform(directional + ".direction", glm::normalize(glm::vec3(0.3f, -1.0f, 0.3f)));
        shader.setUniform(point + ".color", glm::vec3(1.0f));
        shader.setUniform(point + ".position", glm::vec3(0.0f, 10.0f, 0.0f));
        shader.setUniform(point + ".attenuation", glm::vec3(1.0f, 0.4f, 0.1f));
        shader.setUniform("fairyL.color", glm::vec3(0.5f, 0.5f, 1.0f));
        shader.setUniform("fairyL.position", fairyPosition);
        shader.setUniform("fairyL.attenuation", glm::vec3(1.0f, 0.1f, 0.02f));
    }

    GLuint quadVao = 0;
    GLuint quadBuffer = 0;
};

struct ProgramContract {
    ProgramFiles files;
    UniformTypes uniforms;
    std::set<GLint> attributes;
    std::set<GLint> outputs;
};

std::vector<ProgramContract> contracts()
{
    const UniformTypes lit = merged(merged(placement, lightBlock("dirL", "pointL")), material);
    return {
        {texture, merged(lit, {{"diffuseTexture", GL_SAMPLER_2D}}), {0, 1, 2}, {0, 1}},
        {lightmapGen,
         merged(lightBlock("dirL", "pointL"), {{"uModelMatrix", GL_FLOAT_MAT4},
                                               {"uNormalMatrix", GL_FLOAT_MAT3},
                                               {"uNear", GL_FLOAT},
                                               {"uFar", GL_FLOAT}}),
         {0, 1, 3},
         {0}},
        {wellFinal,
         merged(merged(placement, lightBlock("dirLight", "pointLight")),
                {{"u_diffuseTex", GL_SAMPLER_2D}, {"u_lightmap", GL_SAMPLER_2D}}),
         {0, 1, 2, 3},
         {0, 1}},
        {water,
         merged(lit, {{"time", GL_FLOAT}, {"baseColor", GL_FLOAT_VEC3}, {"draw_normals", GL_INT}}),
         {0, 1, 2},
         {0, 1}},
        {cloudProcedural, merged(placement, {{"time", GL_FLOAT}}), {0, 1, 2}, {0, 1}},
        {bloomBlur, {{"horizontal", GL_INT}, {"image", GL_SAMPLER_2D}}, {0, 1}, {0}},
        {bloomFinal,
         {{"sceneTexture", GL_SAMPLER_2D},
          {"bloomTexture", GL_SAMPLER_2D},
          {"exposure", GL_FLOAT},
          {"bloomIntensity", GL_FLOAT}},
         {0, 1},
         {0}},
    };
}

}  // namespace

TEST_F(ShaderFilesTest, EveryProgramBuildsAndKeepsItsContract)
{
    for (const ProgramContract& contract : contracts()) {
        SCOPED_TRACE(contract.files.name);
        auto shader = build(contract.files);
        ASSERT_NE(shader, nullptr);
        const UniformTypes active = activeUniforms(shader->handle());
        for (const auto& [name, type] : contract.uniforms) {
            EXPECT_NE(shader->getUniformLocation(name), -1) << name << " is not live";
            const auto found = active.find(name);
            if (found != active.end()) {
                EXPECT_EQ(found->second, type) << name << " has another type than the frame sets";
            }
        }
        // Every uniform the program reads is one the game sets (samplers
        // may stay at their default unit 0).
        for (const auto& [name, type] : active)
            EXPECT_EQ(contract.uniforms.count(name), 1u) << name << " is never set by the game";
        const std::set<GLint> attributes = resourceLocations(shader->handle(), GL_PROGRAM_INPUT);
        for (GLint location : attributes)
            EXPECT_EQ(contract.attributes.count(location), 1u) << "reads attribute " << location;
        EXPECT_EQ(resourceLocations(shader->handle(), GL_PROGRAM_OUTPUT), contract.outputs);
    }
}

TEST_F(ShaderFilesTest, BlurSpreadsOneTexelAlongTheChosenAxisOnly)
{
    auto blur = build(bloomBlur);
    ASSERT_NE(blur, nullptr);
    constexpr int size = 16;
    std::vector<glm::vec4> source(size * size, glm::vec4(0.0f));
    source[8 * size + 8] = glm::vec4(1.0f);

    for (int horizontal : {1, 0}) {
        SCOPED_TRACE(horizontal);
        const std::vector<glm::vec4> result = blurOnce(*blur, horizontal, size, size, source);
        float total = 0.0f;
        std::vector<float> alongAxis;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const float value = result[static_cast<size_t>(y * size + x)].r;
                total += value;
                if ((horizontal ? y : x) != 8)
                    EXPECT_EQ(value, 0.0f) << x << "," << y;
                else
                    alongAxis.push_back(value);
            }
        }
        EXPECT_NEAR(total, 1.0f, 0.01f);
        // An even five-texel spread around the lit texel, nothing further.
        for (int along = 0; along < size; ++along) {
            const float value = alongAxis[static_cast<size_t>(along)];
            if (along >= 6 && along <= 10)
                EXPECT_NEAR(value, 0.2f, 0.01f) << along;
            else
                EXPECT_EQ(value, 0.0f) << along;
        }
    }
}

TEST_F(ShaderFilesTest, TenBlurPassesKeepAnEvenSkyAndSoftenAnEdge)
{
    auto blur = build(bloomBlur);
    ASSERT_NE(blur, nullptr);
    constexpr int size = 24;
    std::vector<glm::vec4> sky(size * size, glm::vec4(skyColor, 1.0f));
    std::vector<glm::vec4> edge(size * size, glm::vec4(0.0f));
    for (int y = 0; y < size; ++y)
        for (int x = size / 2; x < size; ++x)
            edge[static_cast<size_t>(y * size + x)] = glm::vec4(4.0f);

    for (int pass = 0; pass < 10; ++pass) {
        sky = blurOnce(*blur, pass % 2 == 0 ? 1 : 0, size, size, sky);
        edge = blurOnce(*blur, pass % 2 == 0 ? 1 : 0, size, size, edge);
    }
    for (const glm::vec4& pixel : sky)
        ASSERT_LT(maxDifference(glm::vec3(pixel), skyColor), 0.004f);
    // Across the edge the values now climb steadily instead of jumping.
    const int row = size / 2;
    float previous = -1.0f;
    for (int x = 0; x < size; ++x) {
        const float value = edge[static_cast<size_t>(row * size + x)].r;
        EXPECT_GE(value, previous - 1e-3f) << x;
        previous = value;
    }
    EXPECT_GT(edge[static_cast<size_t>(row * size + size / 2 - 4)].r, 0.1f);
    EXPECT_LT(edge[static_cast<size_t>(row * size + size / 2 + 3)].r, 3.9f);
}

TEST_F(ShaderFilesTest, BlurAndCompositeOverwriteTheirTargetWithBlendingLeftOn)
{
    // Where clouds or sparks were blended in, the glow's alpha is below 1.
    auto blur = build(bloomBlur);
    ASSERT_NE(blur, nullptr);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const std::vector<glm::vec4> glow(4 * 4, glm::vec4(0.5f, 0.5f, 0.5f, 0.3f));
    for (const glm::vec4& pixel : blurOnce(*blur, 1, 4, 4, glow, glm::vec4(1.0f, 0.0f, 0.0f, 1.0f)))
        EXPECT_LT(maxDifference(glm::vec3(pixel), glm::vec3(0.5f)), 0.002f);
    const glm::vec3 stone(0.2f, 0.3f, 0.1f);
    EXPECT_LT(maxDifference(composite(stone, glm::vec3(0.0f)), stone), 0.002f);
    glDisable(GL_BLEND);
}

TEST_F(ShaderFilesTest, CompositeKeepsBlackAndTheSkyAndAddsStrongGlow)
{
    EXPECT_EQ(composite(glm::vec3(0.0f), glm::vec3(0.0f)), glm::vec3(0.0f));
    // The sky is in both images: the sky shown differs by at most 0.05 per
    // channel (only the shoulder of the tone map touches its blue and green).
    const glm::vec3 sky = composite(skyColor, skyColor);
    EXPECT_LT(maxDifference(sky, skyColor), 0.05f) << sky.r << " " << sky.g << " " << sky.b;
    EXPECT_GT(sky.b, sky.g);
    EXPECT_GT(sky.g, sky.r);
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
    EXPECT_LT(maxDifference(composite(stone, skyColor * 0.8f), stone), 0.002f);
    EXPECT_LT(maxDifference(composite(glm::vec3(1.5f), glm::vec3(1.2f)), composite(glm::vec3(1.5f), glm::vec3(0.0f))),
              0.002f);
    const glm::vec3 core = composite(glm::vec3(2.0f), glm::vec3(8.0f));
    EXPECT_GT(core.r, 0.98f);
    EXPECT_LE(core.r, 1.0f);
}

TEST_F(ShaderFilesTest, BakeIsOpaqueAndLitFromAboveWithTheSunSideBrightest)
{
    auto bake = build(lightmapGen);
    ASSERT_NE(bake, nullptr);
    GeometryData data = createTubeGeometry(64, 20.0f, 5.0f);
    data.lightmapUVs = data.uvs;
    auto bakeMaterial = std::make_shared<Material>(bake, glm::vec3(1.0f), glm::vec3(1.0f), 1.0f);
    const glm::mat4 wellModel = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 10.0f, 0.0f));
    Geometry wall(wellModel, data, bakeMaterial);

    constexpr int size = 64;
    GLuint lightmap = 0;
    glGenTextures(1, &lightmap);
    glBindTexture(GL_TEXTURE_2D, lightmap);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, lightmap, 0);
    glViewport(0, 0, size, size);

    bake->use();
    bake->setUniform("uModelMatrix", wellModel);
    bake->setUniform("uNormalMatrix", normalMatrixOf(wellModel));
    bake->setUniform("uNear", 0.1f);
    bake->setUniform("uFar", 20.0f);
    setLights(*bake, "dirL", "pointL", glm::vec3(0.0f, 5.0f, 0.0f));

    // The game bakes with blending on over a grey clear: only an opaque
    // result is the same as without blending.
    std::vector<std::vector<unsigned char>> images;
    for (bool blend : {false, true}) {
        if (blend) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        glClearColor(0.2f, 0.2f, 0.2f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        wall.draw();
        images.push_back(readPixels(0, 0, size, size));
        glDisable(GL_BLEND);
    }
    EXPECT_EQ(images[0], images[1]);

    const std::vector<unsigned char>& image = images[0];
    const auto texel = [&](float u, float v) {
        const int x = std::min(static_cast<int>(u * size), size - 1);
        const int y = std::min(static_cast<int>(v * size), size - 1);
        const size_t at = static_cast<size_t>(y * size + x) * 4;
        return glm::vec3(image[at], image[at + 1], image[at + 2]) / 255.0f;
    };
    const auto brightness = [](const glm::vec3& c) { return c.r + c.g + c.b; };
    // Lightmap v runs from the rim (0) down to the water (1). The sun falls
    // in from -x, -z and lights the wall on the +x, +z side (u = 1/8).
    const float sunSide = 0.125f;
    const float shadeSide = 0.625f;
    EXPECT_GT(brightness(texel(sunSide, 0.05f)), brightness(texel(sunSide, 0.95f)));
    EXPECT_GT(brightness(texel(shadeSide, 0.05f)), brightness(texel(shadeSide, 0.95f)));
    EXPECT_GT(brightness(texel(sunSide, 0.5f)), brightness(texel(shadeSide, 0.5f)) + 0.3f);
    // The fairy's blue light at y = 5 (v = 0.75) tints the wall around it.
    const glm::vec3 nearFairy = texel(shadeSide, 0.75f);
    EXPECT_GT(nearFairy.b, nearFairy.r + 0.05f);
    // Nothing is pitch black and nothing is clipped.
    for (size_t i = 0; i < image.size(); i += 4) {
        ASSERT_GT(image[i] + image[i + 1] + image[i + 2], 20) << i / 4;
        ASSERT_LT(std::max(image[i], std::max(image[i + 1], image[i + 2])), 255) << i / 4;
    }

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &lightmap);
}

TEST_F(ShaderFilesTest, WallGlowsBlueWhereTheFairyIsNow)
{
    auto program = build(wellFinal);
    ASSERT_NE(program, nullptr);
    GeometryData data = createTubeGeometry(64, 20.0f, 5.0f);
    data.lightmapUVs = data.uvs;
    const glm::mat4 wellModel = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 10.0f, 0.0f));
    Geometry wall(wellModel, data, std::make_shared<Material>(program, glm::vec3(1.0f), glm::vec3(1.0f), 1.0f));

    // Plain grey stone under an even baked light.
    GLuint textures[2] = {};
    glGenTextures(2, textures);
    const unsigned char grey[] = {160, 160, 160};
    for (GLuint name : textures) {
        glBindTexture(GL_TEXTURE_2D, name);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, grey);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    }
    // From the axis towards the wall at +x, 15 units up.
    const glm::vec3 eye(0.0f, 15.0f, 0.0f);
    const glm::mat4 viewProj = glm::perspective(glm::radians(40.0f), 1.0f, 0.1f, 100.0f) *
                               glm::lookAt(eye, glm::vec3(5.0f, 15.0f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    FloatTarget target(16, 16, 2);
    glEnable(GL_DEPTH_TEST);
    const auto wallAt = [&](const glm::vec3& fairyPosition) {
        target.bind();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        program->use();
        program->setUniform("viewProjMatrix", viewProj);
        program->setUniform("camera_world", eye);
        setLights(*program, "dirLight", "pointLight", fairyPosition);
        program->setUniform("u_diffuseTex", 0);
        program->setUniform("u_lightmap", 1);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, textures[0]);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, textures[1]);
        glActiveTexture(GL_TEXTURE0);
        wall.draw();
        return glm::vec3(target.at(target.read(0), 8, 8));
    };
    const glm::vec3 near = wallAt(glm::vec3(4.0f, 15.0f, 0.0f));
    const glm::vec3 far = wallAt(glm::vec3(-4.0f, 15.0f, 0.0f));
    EXPECT_GT(near.b - far.b, 0.3f);
    EXPECT_GT(near.b - near.r, far.b - far.r);
    EXPECT_GT(far.r, 0.2f);

    glDisable(GL_DEPTH_TEST);
    glDeleteTextures(2, textures);
}

TEST_F(ShaderFilesTest, FairyBodyGlowsWhereItHoldsTheFairyLightOnly)
{
    auto program = build(texture);
    ASSERT_NE(program, nullptr);
    GLuint paleBlue = 0;
    const unsigned char texel[] = {200, 225, 250, 255};
    glGenTextures(1, &paleBlue);
    glBindTexture(GL_TEXTURE_2D, paleBlue);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    auto bodyMaterial = std::make_shared<Material>(program, glm::vec3(1.0f), glm::vec3(0.51f), 2.0f);
    const glm::vec3 bodyCentre(0.0f, 5.0f, 0.0f);
    Geometry body(glm::translate(glm::mat4(1.0f), bodyCentre), createSphereGeometry(18, 8, 0.1f), bodyMaterial);

    const glm::vec3 eye = bodyCentre + glm::vec3(0.0f, 0.0f, 0.5f);
    const glm::mat4 viewProj = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f) *
                               glm::lookAt(eye, bodyCentre, glm::vec3(0.0f, 1.0f, 0.0f));
    FloatTarget target(32, 32, 2);
    glEnable(GL_DEPTH_TEST);

    const auto centreGlow = [&](const glm::vec3& fairyPosition) {
        target.bind();
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        program->use();
        program->setUniform("viewProjMatrix", viewProj);
        program->setUniform("camera_world", eye);
        setLights(*program, "dirL", "pointL", fairyPosition);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, paleBlue);
        program->setUniform("diffuseTexture", 0);
        body.draw();
        return std::pair(target.at(target.read(0), 16, 16), target.at(target.read(1), 16, 16));
    };
    const auto [litGlowing, glowGlowing] = centreGlow(bodyCentre);
    const auto [litPlain, glowPlain] = centreGlow(glm::vec3(0.0f, 15.0f, 0.0f));
    EXPECT_EQ(litGlowing.a, 1.0f);
    EXPECT_GT(glowGlowing.b, glowPlain.b + 2.0f);
    EXPECT_GT(glowGlowing.b, glowGlowing.r);
    EXPECT_GT(glm::length(glm::vec3(litGlowing)), glm::length(glm::vec3(litPlain)));

    glDisable(GL_DEPTH_TEST);
    glDeleteTextures(1, &paleBlue);
}

TEST_F(ShaderFilesTest, WaterShowsItsNormalsOnRequestAndIsOpaque)
{
    auto program = build(water);
    ASSERT_NE(program, nullptr);
    auto waterMaterial =
        std::make_shared<Material>(program, glm::vec3(0.05f, 0.1f, 0.2f), glm::vec3(0.2f, 0.4f, 0.8f), 16.0f);
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.1f, 0.0f));
    Geometry surface(model, createPlaneGeometry(100, 5.0f), waterMaterial);
    const glm::vec3 eye(0.0f, 4.0f, 0.01f);
    const glm::mat4 viewProj = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f) *
                               glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    FloatTarget target(16, 16, 2);

    for (int drawNormals : {1, 0}) {
        SCOPED_TRACE(drawNormals);
        target.bind();
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        program->use();
        program->setUniform("viewProjMatrix", viewProj);
        program->setUniform("time", 12.5f);
        program->setUniform("camera_world", eye);
        program->setUniform("baseColor", glm::vec3(0.2f, 0.4f, 0.8f));
        setLights(*program, "dirL", "pointL", glm::vec3(0.0f, 5.0f, 0.0f));
        program->setUniform("draw_normals", drawNormals);
        surface.draw();
        for (const glm::vec4& pixel : target.read(0)) {
            EXPECT_EQ(pixel.a, 1.0f);
            if (drawNormals) {
                // Mostly up (green), tilted a little by the waves.
                EXPECT_GT(pixel.g, 0.9f);
                EXPECT_NEAR(pixel.r, 0.5f, 0.2f);
                EXPECT_NEAR(pixel.b, 0.5f, 0.2f);
            } else {
                EXPECT_GT(pixel.b, pixel.r);
            }
        }
    }
}

TEST_F(ShaderFilesTest, CloudsHaveGapsAndFadeOutAtTheEdges)
{
    auto program = build(cloudProcedural);
    ASSERT_NE(program, nullptr);
    // Looked at straight from below, the layer fills the target exactly.
    constexpr int size = 48;
    FloatTarget target(size, size, 2);
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 40.0f, 0.0f));
    const glm::mat4 viewProj = glm::ortho(-30.0f, 30.0f, -30.0f, 30.0f, 0.1f, 100.0f) *
                               glm::lookAt(glm::vec3(0.0f, 0.0f, 0.0f), glm::vec3(0.0f, 40.0f, 0.0f),
                                           glm::vec3(0.0f, 0.0f, 1.0f));
    GeometryData grid = createPlaneGeometry(20, 30.0f);
    auto cloudMaterial = std::make_shared<Material>(program, glm::vec3(1.0f), glm::vec3(1.0f), 1.0f);
    Geometry layer(model, grid, cloudMaterial);
    target.bind();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    program->use();
    program->setUniform("viewProjMatrix", viewProj);
    program->setUniform("camera_world", glm::vec3(0.0f));
    program->setUniform("time", 3.0f);
    layer.draw();

    const std::vector<glm::vec4> colour = target.read(0);
    int clear = 0;
    int cloudy = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const glm::vec4 pixel = target.at(colour, x, y);
            const bool edge = x == 0 || y == 0 || x == size - 1 || y == size - 1;
            if (edge) {
                EXPECT_LT(pixel.a, 0.02f) << x << "," << y;
            }
            const bool inner = std::abs(x - size / 2) < size / 4 && std::abs(y - size / 2) < size / 4;
            if (inner) {
                clear += pixel.a < 0.1f;
                cloudy += pixel.a > 0.5f;
                EXPECT_GT(std::min(pixel.r, std::min(pixel.g, pixel.b)), 0.6f);
            }
        }
    }
    EXPECT_GT(clear, 0);
    EXPECT_GT(cloudy, 0);
}
