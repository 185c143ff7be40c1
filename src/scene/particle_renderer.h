// The fairy's trail on the GPU: a static corner quad and a stream buffer of
// per-particle data, drawn as camera-facing quads in one instanced call.
// The particles themselves, their emission and ageing, are the game's
// ParticlePool; this uploads and draws what it holds. Owns its GL objects.
#pragma once

#include "framework/gl_handle.h"
#include "framework/shader.h"

#include <glm/mat4x4.hpp>

#include <cstdint>

class ParticlePool;

// Half the side of a spark's quad before the vertex stage scales it.
inline constexpr float particleQuadHalfSize = 0.003f;

class ParticleRenderer {
public:
    // Loads the particle program and makes room for `maxParticles` particles.
    explicit ParticleRenderer(std::uint32_t maxParticles);

    // Uploads the pool's live particles (32 bytes each) and draws them with
    // blending on and depth writes off, then turns blending off and depth
    // writes on. With no live particle it makes no GL call at all.
    void draw(const ParticlePool& pool, const glm::mat4& view, const glm::mat4& viewProjection);

private:
    Shader shader;
    std::uint32_t capacity;
    VertexArrayHandle vertexArray;
    BufferHandle quadBuffer;
    BufferHandle instanceBuffer;
};
