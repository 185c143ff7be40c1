// The fairy's particle trail on the GPU: a ParticlePool plus the vertex
// array, the static corner quad and the stream buffer of per-particle data,
// drawn as camera-facing quads in one instanced call. Owns its GL objects;
// destroy it while the context is current. The shader is not owned.
#pragma once

#include "game/particle_pool.h"

#include <GL/glew.h>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <cstdint>

class Shader;

// Half the side of a spark's quad before the vertex stage scales it.
inline constexpr float particleQuadHalfSize = 0.003f;

class ParticleSystem {
public:
    // Seeds the engine from the system's random device.
    ParticleSystem(std::uint32_t maxParticles, float spawnRate, Shader* shader);
    // A fixed seed, for a reproducible trail.
    ParticleSystem(std::uint32_t maxParticles, float spawnRate, Shader* shader, std::uint32_t seed);
    ~ParticleSystem();

    ParticleSystem(ParticleSystem&& other) noexcept;
    ParticleSystem& operator=(ParticleSystem&& other) noexcept;
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Creates the GL objects; once, with a current context.
    void init();
    // Steps the pool and uploads the live particles' data (aliveCount * 32 bytes).
    void update(float deltaTime, const glm::vec3& origin);
    // Draws the live particles with blending on and depth writes off, then
    // turns blending off and depth writes on. With no live particle it
    // touches no GL state at all. The caller has set "u_view" on the shader.
    void draw(const glm::mat4& viewProj);

    std::uint32_t aliveCount() const { return pool.aliveCount(); }
    const ParticlePool& particles() const { return pool; }
    ParticlePool& particles() { return pool; }

    GLuint vertexArray() const { return vao; }
    GLuint quadBuffer() const { return quadVbo; }
    GLuint instanceBuffer() const { return instanceVbo; }

private:
    void release();

    Shader* shader = nullptr;
    ParticlePool pool;
    GLuint vao = 0;
    GLuint quadVbo = 0;
    GLuint instanceVbo = 0;
};
