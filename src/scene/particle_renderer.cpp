// The trail's buffers, the per-frame upload and the instanced draw.
#include "scene/particle_renderer.h"

#include "game/particle_pool.h"

#include <glm/vec4.hpp>

#include <algorithm>

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

}  // namespace

ParticleRenderer::ParticleRenderer(std::uint32_t maxParticles)
    : shader("assets/shaders/particle.vert", "assets/shaders/particle.frag"), capacity(maxParticles),
      vertexArray(makeVertexArray()), quadBuffer(makeBuffer()), instanceBuffer(makeBuffer())
{
    glBindVertexArray(vertexArray.get());
    glBindBuffer(GL_ARRAY_BUFFER, quadBuffer.get());
    glBufferData(GL_ARRAY_BUFFER, sizeof(quadVertices), quadVertices, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), byteOffset(0));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), byteOffset(2 * sizeof(float)));

    glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer.get());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(capacity) * instanceBytes, nullptr, GL_STREAM_DRAW);
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, instanceBytes, byteOffset(0));
    glVertexAttribDivisor(2, 1);
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 4, GL_FLOAT, GL_FALSE, instanceBytes, byteOffset(sizeof(glm::vec4)));
    glVertexAttribDivisor(3, 1);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ParticleRenderer::draw(const ParticlePool& pool, const glm::mat4& view, const glm::mat4& viewProjection)
{
    // A pool larger than the buffer would write past its end.
    const std::uint32_t alive = std::min(pool.aliveCount(), capacity);
    if (alive == 0)
        return;
    glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer.get());
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(alive) * instanceBytes,
                    pool.instanceStaging().data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    shader.use();
    shader.setUniform("u_viewProj", viewProjection);
    shader.setUniform("u_view", view);
    glBindVertexArray(vertexArray.get());
    glDrawArraysInstanced(GL_TRIANGLES, 0, 6, static_cast<GLsizei>(alive));
    glBindVertexArray(0);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}
