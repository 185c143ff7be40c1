#include "bloom.h"

#include "render_targets.h"

Bloom::Bloom()
    : blurShader("assets/shaders/bloomBlur.vert", "assets/shaders/bloomBlur.frag"),
      compositeShader("assets/shaders/quad.vert", "assets/shaders/bloomFinal.frag")
{
}

namespace {

bool hasSmallerBloom(const RenderTargets& targets)
{
    return targets.bloomWidth() != targets.width() || targets.bloomHeight() != targets.height();
}

}  // namespace

void Bloom::setPixelStep(const RenderTargets& targets)
{
    if (stepWidth_ == targets.width() && stepHeight_ == targets.height())
        return;
    stepWidth_ = targets.width();
    stepHeight_ = targets.height();
    blurShader.setUniform("pixelStep", glm::vec2(1.0f / static_cast<float>(stepWidth_),
                                                 1.0f / static_cast<float>(stepHeight_)));
}

void Bloom::blurPass(const RenderTargets& targets, int iteration)
{
    const bool horizontal = iteration % 2 == 0;
    if (iteration == 0) {
        // Full-screen passes replace their target's pixels.
        glDisable(GL_BLEND);
        blurShader.use();
        setPixelStep(targets);
        if (hasSmallerBloom(targets))
            glViewport(0, 0, targets.bloomWidth(), targets.bloomHeight());
    }
    glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFramebuffer(horizontal ? 1 : 0));
    blurShader.setUniform("horizontal", horizontal ? 1 : 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, iteration == 0 ? targets.brightColorTexture()
                                                : targets.pingpongTexture(horizontal ? 0 : 1));
    quad.draw();
}

void Bloom::composite(const RenderTargets& targets)
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (hasSmallerBloom(targets))
        glViewport(0, 0, targets.width(), targets.height());
    // The quad covers every pixel, opaque: only the depth the HUD's heart
    // tests against needs clearing.
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    compositeShader.use();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, targets.sceneColorTexture());
    compositeShader.setUniform("sceneTexture", 0);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, targets.pingpongTexture(lastBlurTarget));
    compositeShader.setUniform("bloomTexture", 1);
    compositeShader.setUniform("exposure", exposure);
    compositeShader.setUniform("bloomIntensity", bloomIntensity);
    quad.draw();
    glBindVertexArray(0);
}
