// GL side of the particle trail: buffers, per-frame upload and the instanced draw.
#include "game/particle_system.h"

#include "framework/gl_names.h"
#include "framework/shader.h"

#include <glm/vec4.hpp>

#include <random>
#include <utility>

namespace {

constexpr GLsizei instanceBytes = 2 * sizeof(glm::vec4);

// Two triangles of (corner x, corner y, u, v).
constexpr float quadVertices[] = {
    -particleQuadHalfSize, -particleQuadHalfSize, 0.0f, 0.0f,  //
    particleQuadHalfSize,  -particleQuadHalfSize, 1.0f, 0.0f,  //
    particleQuadHalfSize,  particleQuadHalfSize,  1.0f, 1.0f,  //
    -particleQuadHalfSize, -particleQuadHalfSize, 0.0f, 0.0f,  //
    particleQuadHalfSize,  particleQuadHalfSize,  1.0f, 1.0f,  //
    -particleQuadHalfSize, particleQuadHalfSize,  0.0f, 1.0f,  //
};

const void* byteOffset(std::size_t bytes)
{
    return reinterpret_cast<const void*>(bytes);
}

std::uint32_t deviceSeed()
{
    std::random_device device;
    return device();
}

}  // namespace

ParticleSystem::ParticleSystem(std::uint32_t maxParticles, float spawnRate, Shader* shader)
    : ParticleSystem(maxParticles, spawnRate, shader, deviceSeed())
{
}

ParticleSystem::ParticleSystem(std::uint32_t maxParticles, float spawnRate, Shader* shader, std::uint32_t seed)
    : shader(shader), pool(maxParticles, spawnRate, seed)
{
}

ParticleSystem::~ParticleSystem()
{
    release();
}

ParticleSystem::ParticleSystem(ParticleSystem&& other) noexcept
    : shader(other.shader), pool(std::move(other.pool)), vao(std::exchange(other.vao, 0)),
      quadVbo(std::exchange(other.quadVbo, 0)), instanceVbo(std::exchange(other.instanceVbo, 0))
{
}

ParticleSystem& ParticleSystem::operator=(ParticleSystem&& other) noexcept
{
    if (this != &other) {
        release();
        shader = other.shader;
        pool = std::move(other.pool);
        vao = std::exchange(other.vao, 0);
        quadVbo = std::exchange(other.quadVbo, 0);
        instanceVbo = std::exchange(other.instanceVbo, 0);
    }
    return *this;
}

void ParticleSystem::release()
{
    deleteVertexArray(vao);
    deleteBuffer(quadVbo);
    deleteBuffer(instanceVbo);
}

void ParticleSystem::init()
{
    release();
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &quadVbo);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, quadVbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof(quadVertices), quadVertices, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), byteOffset(0));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), byteOffset(2 * sizeof(float)));

    glGenBuffers(1, &instanceVbo);
    glBindBuffer(GL_ARRAY_BUFFER, instanceVbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(pool.maxParticles()) * instanceBytes, nullptr,
                 GL_STREAM_DRAW);
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, instanceBytes, byteOffset(0));
    glVertexAttribDivisor(2, 1);
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 4, GL_FLOAT, GL_FALSE, instanceBytes, byteOffset(sizeof(glm::vec4)));
    glVertexAttribDivisor(3, 1);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ParticleSystem::update(float deltaTime, const glm::vec3& origin)
{
    const std::uint32_t live = pool.step(deltaTime, origin);
    if (instanceVbo == 0)
        return;
    glBindBuffer(GL_ARRAY_BUFFER, instanceVbo);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(live) * instanceBytes,
                    pool.instanceStaging().data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ParticleSystem::draw(const glm::mat4& viewProj)
{
    if (pool.aliveCount() == 0 || vao == 0 || shader == nullptr)
        return;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    shader->use();
    shader->setUniform("u_viewProj", viewProj);
    glBindVertexArray(vao);
    glDrawArraysInstanced(GL_TRIANGLES, 0, 6, static_cast<GLsizei>(pool.aliveCount()));
    glBindVertexArray(0);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}
