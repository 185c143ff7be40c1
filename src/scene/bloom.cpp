#include "bloom.h"

#include "render_targets.h"

#include "framework/shader.h"

Bloom::Bloom()
    : blurShader(std::make_unique<Shader>("assets/shaders/bloomBlur.vert", "assets/shaders/bloomBlur.frag")),
      compositeShader(std::make_unique<Shader>("assets/shaders/quad.vert", "assets/shaders/bloomFinal.frag"))
{
}

Bloom::~Bloom() = default;

int Bloom::blur(const RenderTargets& targets)
{
    bool horizontal = true;
    bool firstIteration = true;
    glDisable(GL_BLEND);
    blurShader->use();
    for (int i = 0; i < blurIterations; ++i) {
        const int target = horizontal ? 1 : 0;
        glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFramebuffer(target));
        blurShader->setUniform("horizontal", horizontal ? 1 : 0);
        glBindVertexArray(quad.vertexArray());
        glActiveTexture(GL_TEXTURE0);
        horizontal = !horizontal;
        // Each pass reads what the previous one wrote; the first reads the glow.
        glBindTexture(GL_TEXTURE_2D, firstIteration ? targets.brightColorTexture()
                                                    : targets.pingpongTexture(horizontal ? 1 : 0));
        glDrawArrays(GL_TRIANGLES, 0, 6);
        firstIteration = false;
    }
    return horizontal ? 0 : 1;
}

void Bloom::composite(const RenderTargets& targets, int blurredIndex)
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    compositeShader->use();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, targets.sceneColorTexture());
    compositeShader->setUniform("sceneTexture", 0);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, targets.pingpongTexture(blurredIndex));
    compositeShader->setUniform("bloomTexture", 1);
    compositeShader->setUniform("exposure", exposure);
    compositeShader->setUniform("bloomIntensity", bloomIntensity);
    glBindVertexArray(quad.vertexArray());
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glBindVertexArray(0);
}
