// The trail on a real GL context: buffer layout, the per-frame upload of
// just the live particles, the draw that touches nothing when there is
// nothing to draw, the state left after a draw, sparks on screen and the
// release of the GL objects.
#include "game/particle_system.h"

#include "framework/shader.h"
#include "support/gl_test_context.h"
#include "support/uniform_recorder.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

const glm::vec3 fairy(0.0f, 0.5f, 0.0f);

struct SubDataCall {
    GLenum target;
    GLintptr offset;
    GLsizeiptr size;
};

struct InstancedDraw {
    GLenum mode;
    GLint first;
    GLsizei count;
    GLsizei instances;
};

std::vector<SubDataCall> subDataCalls;
std::vector<InstancedDraw> instancedDraws;
int useProgramCalls = 0;
int bindVertexArrayCalls = 0;
int matrixUploads = 0;

PFNGLBUFFERSUBDATAPROC realBufferSubData = nullptr;
PFNGLDRAWARRAYSINSTANCEDPROC realDrawArraysInstanced = nullptr;
PFNGLUSEPROGRAMPROC realUseProgram = nullptr;
PFNGLBINDVERTEXARRAYPROC realBindVertexArray = nullptr;
PFNGLUNIFORMMATRIX4FVPROC realUniformMatrix4fv = nullptr;

void GLAPIENTRY countedBufferSubData(GLenum target, GLintptr offset, GLsizeiptr size, const void* data)
{
    subDataCalls.push_back({target, offset, size});
    realBufferSubData(target, offset, size, data);
}

void GLAPIENTRY countedDrawArraysInstanced(GLenum mode, GLint first, GLsizei count, GLsizei instances)
{
    instancedDraws.push_back({mode, first, count, instances});
    realDrawArraysInstanced(mode, first, count, instances);
}

void GLAPIENTRY countedUseProgram(GLuint program)
{
    ++useProgramCalls;
    realUseProgram(program);
}

void GLAPIENTRY countedBindVertexArray(GLuint vao)
{
    ++bindVertexArrayCalls;
    realBindVertexArray(vao);
}

void GLAPIENTRY countedUniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose, const GLfloat* value)
{
    ++matrixUploads;
    realUniformMatrix4fv(location, count, transpose, value);
}

// Counts the GL calls the particle system makes while it lives.
class GlCallCounter {
public:
    GlCallCounter()
    {
        subDataCalls.clear();
        instancedDraws.clear();
        useProgramCalls = bindVertexArrayCalls = matrixUploads = 0;
        realBufferSubData = std::exchange(__glewBufferSubData, countedBufferSubData);
        realDrawArraysInstanced = std::exchange(__glewDrawArraysInstanced, countedDrawArraysInstanced);
        realUseProgram = std::exchange(__glewUseProgram, countedUseProgram);
        realBindVertexArray = std::exchange(__glewBindVertexArray, countedBindVertexArray);
        realUniformMatrix4fv = std::exchange(__glewUniformMatrix4fv, countedUniformMatrix4fv);
    }
    ~GlCallCounter()
    {
        __glewBufferSubData = realBufferSubData;
        __glewDrawArraysInstanced = realDrawArraysInstanced;
        __glewUseProgram = realUseProgram;
        __glewBindVertexArray = realBindVertexArray;
        __glewUniformMatrix4fv = realUniformMatrix4fv;
    }
    GlCallCounter(const GlCallCounter&) = delete;
    GlCallCounter& operator=(const GlCallCounter&) = delete;
};

GLint integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLint attribute(GLuint vao, GLuint location, GLenum name)
{
    glBindVertexArray(vao);
    GLint value = 0;
    glGetVertexAttribiv(location, name, &value);
    glBindVertexArray(0);
    return value;
}

std::size_t attributeOffset(GLuint vao, GLuint location)
{
    glBindVertexArray(vao);
    void* pointer = nullptr;
    glGetVertexAttribPointerv(location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
    glBindVertexArray(0);
    return reinterpret_cast<std::size_t>(pointer);
}

GLint bufferParameter(GLuint buffer, GLenum name)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    GLint value = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, name, &value);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return value;
}

template <typename T>
std::vector<T> bufferContents(GLuint buffer, std::size_t count)
{
    std::vector<T> values(count);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(count * sizeof(T)), values.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return values;
}

class ParticleSystemTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        testing::internal::CaptureStdout();
        shader = std::make_unique<Shader>("assets/shaders/particle.vert", "assets/shaders/particle.frag");
        testing::internal::GetCapturedStdout();
    }
    void TearDown() override
    {
        shader.reset();
        GlTest::TearDown();
    }

    // The particle system as the game makes it, with a fixed seed.
    ParticleSystem gameSystem()
    {
        ParticleSystem system(500, 150.0f, shader.get(), 17u);
        system.init();
        return system;
    }

    std::unique_ptr<Shader> shader;
};

}  // namespace

TEST_F(ParticleSystemTest, InitBuildsTheCornerQuadAndThePerInstanceLayout)
{
    ParticleSystem system = gameSystem();
    const GLuint vao = system.vertexArray();
    ASSERT_NE(vao, 0u);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);

    for (GLuint location = 0; location < 4; ++location)
        EXPECT_EQ(attribute(vao, location, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_TRUE) << location;
    const GLint sizes[] = {2, 2, 4, 4};
    const GLint strides[] = {16, 16, 32, 32};
    const GLint divisors[] = {0, 0, 1, 1};
    const std::size_t offsets[] = {0, 8, 0, 16};
    const GLuint buffers[] = {system.quadBuffer(), system.quadBuffer(), system.instanceBuffer(),
                              system.instanceBuffer()};
    for (GLuint location = 0; location < 4; ++location) {
        EXPECT_EQ(attribute(vao, location, GL_VERTEX_ATTRIB_ARRAY_SIZE), sizes[location]) << location;
        EXPECT_EQ(attribute(vao, location, GL_VERTEX_ATTRIB_ARRAY_STRIDE), strides[location]) << location;
        EXPECT_EQ(attribute(vao, location, GL_VERTEX_ATTRIB_ARRAY_DIVISOR), divisors[location]) << location;
        EXPECT_EQ(attributeOffset(vao, location), offsets[location]) << location;
        EXPECT_EQ(attribute(vao, location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING),
                  static_cast<GLint>(buffers[location]))
            << location;
    }

    EXPECT_EQ(bufferParameter(system.quadBuffer(), GL_BUFFER_SIZE), 96);
    EXPECT_EQ(bufferParameter(system.quadBuffer(), GL_BUFFER_USAGE), GL_STATIC_DRAW);
    const std::vector<float> quad = bufferContents<float>(system.quadBuffer(), 24);
    const float h = 0.003f;
    const std::vector<float> expected = {-h, -h, 0, 0, h, -h, 1, 0, h, h, 1, 1,
                                         -h, -h, 0, 0, h, h,  1, 1, -h, h, 0, 1};
    EXPECT_EQ(quad, expected);
    EXPECT_EQ(bufferParameter(system.instanceBuffer(), GL_BUFFER_SIZE), 500 * 32);
    EXPECT_EQ(bufferParameter(system.instanceBuffer(), GL_BUFFER_USAGE), GL_STREAM_DRAW);
}

TEST_F(ParticleSystemTest, UpdateUploadsOnlyTheLiveParticles)
{
    ParticleSystem system = gameSystem();
    {
        const GlCallCounter counter;
        for (int frame = 0; frame < 20; ++frame)
            system.update(1.0f / 60.0f, fairy);
        ASSERT_EQ(subDataCalls.size(), 20u);
        const SubDataCall last = subDataCalls.back();
        EXPECT_EQ(last.target, static_cast<GLenum>(GL_ARRAY_BUFFER));
        EXPECT_EQ(last.offset, 0);
        EXPECT_EQ(last.size, static_cast<GLsizeiptr>(system.aliveCount()) * 32);
    }
    EXPECT_EQ(system.aliveCount(), 50u);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0);

    const std::size_t floats = 8 * system.aliveCount();
    const std::vector<float> uploaded = bufferContents<float>(system.instanceBuffer(), floats);
    const std::vector<glm::vec4>& staging = system.particles().instanceStaging();
    EXPECT_EQ(std::memcmp(uploaded.data(), staging.data(), floats * sizeof(float)), 0);
}

TEST_F(ParticleSystemTest, AnUpdateWithNoLiveParticleStillUploadsItsZeroBytes)
{
    ParticleSystem system(8, 1.0f, shader.get(), 3u);
    system.init();
    const GlCallCounter counter;
    system.update(1.5f, fairy);  // one emitted, dead in the same step
    EXPECT_EQ(system.aliveCount(), 0u);
    ASSERT_EQ(subDataCalls.size(), 1u);
    EXPECT_EQ(subDataCalls[0].size, 0);
}

TEST_F(ParticleSystemTest, DrawWithNoLiveParticleMakesNoGlCallAndChangesNoState)
{
    ParticleSystem fresh = gameSystem();
    ParticleSystem burntOut(8, 1.0f, shader.get(), 3u);
    burntOut.init();
    burntOut.update(1.5f, fairy);

    // Deliberately unusual state, so any change would show.
    Shader other;
    other.use();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glDepthMask(GL_FALSE);

    const GlCallCounter counter;
    fresh.draw(glm::mat4(1.0f));
    burntOut.draw(glm::mat4(1.0f));
    EXPECT_EQ(useProgramCalls, 0);
    EXPECT_EQ(bindVertexArrayCalls, 0);
    EXPECT_EQ(matrixUploads, 0);
    EXPECT_TRUE(instancedDraws.empty());

    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_ONE);
    EXPECT_EQ(integer(GL_BLEND_DST_RGB), GL_ZERO);
    EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_FALSE);
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), static_cast<GLint>(other.handle()));
    glDepthMask(GL_TRUE);
}

TEST_F(ParticleSystemTest, DrawIsOneInstancedCallAndLeavesBlendingOffAndDepthWritesOn)
{
    ParticleSystem system = gameSystem();
    for (int frame = 0; frame < 10; ++frame)
        system.update(1.0f / 60.0f, fairy);
    ASSERT_EQ(system.aliveCount(), 25u);

    glDisable(GL_BLEND);
    const glm::mat4 viewProj = glm::perspective(0.8f, 1.0f, 0.1f, 100.0f) *
                               glm::lookAt(glm::vec3(0, 0.5f, 2), fairy, glm::vec3(0, 1, 0));
    const UniformRecorder uniforms;
    {
        const GlCallCounter counter;
        system.draw(viewProj);
        ASSERT_EQ(instancedDraws.size(), 1u);
        EXPECT_EQ(instancedDraws[0].mode, static_cast<GLenum>(GL_TRIANGLES));
        EXPECT_EQ(instancedDraws[0].first, 0);
        EXPECT_EQ(instancedDraws[0].count, 6);
        EXPECT_EQ(instancedDraws[0].instances, 25);
    }
    ASSERT_EQ(uniforms.uploads().size(), 1u);
    EXPECT_EQ(uniforms.uploads()[0].name, "u_viewProj");
    EXPECT_EQ(std::memcmp(uniforms.uploads()[0].values.data(), glm::value_ptr(viewProj), 16 * sizeof(float)), 0);

    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST_RGB), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), static_cast<GLint>(shader->handle()));
}

// Seen from the side, a quad lying in the world's xy plane would be edge-on
// and invisible; a camera-facing spark shows as a bright warm dot.
TEST_F(ParticleSystemTest, SparksFaceTheCameraAndGlowWarmWhite)
{
    ParticleSystem system(4, 1000.0f, shader.get(), 5u);
    system.init();
    system.update(0.001f, fairy);
    ASSERT_EQ(system.aliveCount(), 1u);

    const glm::mat4 view = glm::lookAt(fairy + glm::vec3(0.6f, 0.0f, 0.0f), fairy, glm::vec3(0, 1, 0));
    const glm::mat4 viewProj = glm::perspective(glm::radians(45.0f), 1.0f, 0.1f, 10.0f) * view;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    shader->use();
    shader->setUniform("u_viewProj", viewProj);
    shader->setUniform("u_view", view);
    system.draw(viewProj);

    const std::vector<unsigned char> pixels = readPixels(0, 0, defaultWidth, defaultHeight);
    std::size_t brightest = 0;
    int lit = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        if (pixels[i] > pixels[brightest])
            brightest = i;
        if (pixels[i] > 20)
            ++lit;
    }
    EXPECT_GE(pixels[brightest], 200);
    EXPECT_GE(pixels[brightest], pixels[brightest + 1]);
    EXPECT_GE(pixels[brightest + 1], pixels[brightest + 2]);
    // Several pixels across, not a single dot and not the whole view.
    EXPECT_GE(lit, 9);
    EXPECT_LE(lit, 400);
    glDisable(GL_DEPTH_TEST);
}

TEST_F(ParticleSystemTest, DestructionDeletesTheVertexArrayAndBothBuffers)
{
    GLuint vao = 0;
    GLuint quad = 0;
    GLuint instances = 0;
    {
        ParticleSystem system = gameSystem();
        vao = system.vertexArray();
        quad = system.quadBuffer();
        instances = system.instanceBuffer();
        ParticleSystem moved(std::move(system));
        EXPECT_EQ(system.vertexArray(), 0u);
        {
            ParticleSystem empty(1, 0.0f, shader.get(), 1u);
            empty = std::move(moved);
            EXPECT_EQ(moved.instanceBuffer(), 0u);
            EXPECT_TRUE(glIsVertexArray(vao));
            EXPECT_TRUE(glIsBuffer(quad));
            EXPECT_TRUE(glIsBuffer(instances));
        }
    }
    EXPECT_FALSE(glIsVertexArray(vao));
    EXPECT_FALSE(glIsBuffer(quad));
    EXPECT_FALSE(glIsBuffer(instances));
}

TEST_F(ParticleSystemTest, UpdateAndDrawBeforeInitTouchNoGl)
{
    ParticleSystem system(8, 150.0f, shader.get(), 2u);
    const GlCallCounter counter;
    system.update(0.1f, fairy);
    system.draw(glm::mat4(1.0f));
    EXPECT_EQ(system.aliveCount(), 8u);  // 15 due, as many as the pool holds
    EXPECT_TRUE(subDataCalls.empty());
    EXPECT_TRUE(instancedDraws.empty());
}
