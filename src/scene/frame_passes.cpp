#include "frame_passes.h"

#include "level.h"
#include "render_targets.h"

#include "framework/render_state.h"

#include <GL/glew.h>

namespace {

// The matrices every object program gets from the frame.
void setCameraUniforms(Shader& shader, const CameraView& view, const glm::mat4& model)
{
    shader.setUniform("viewProjMatrix", view.viewProjection);
    shader.setUniform("modelMatrix", model);
    shader.setUniform("normalMatrix", normalMatrixOf(model));
    shader.setUniform("camera_world", view.eye);
}

// The scene's geometry is opaque unless a pass says otherwise, and the
// debug switches for polygons and culling apply to it alone.
void bindSceneTarget(const RenderTargets& targets, const FrameParameters& frame)
{
    glBindFramebuffer(GL_FRAMEBUFFER, targets.sceneFramebuffer());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    applyPolygonMode(frame.wireframe);
    applyFaceCulling(frame.backfaceCulling);
}

void drawRings(Level& level, const std::vector<bool>& ringPassed)
{
    for (size_t i = 0; i < level.rings.size(); ++i) {
        if (i >= ringPassed.size() || !ringPassed[i])
            level.rings[i].draw();
    }
}

void drawWall(Level& level, const FrameParameters& frame)
{
    Shader& shader = *level.wallShader;
    shader.use();
    setCameraUniforms(shader, frame.view, level.wall->getModelMatrix());
    setWallLightBlock(shader, level.lights);
    level.wall->draw();
}

void drawWater(Level& level, const FrameParameters& frame)
{
    Shader& shader = *level.waterShader;
    shader.use();
    shader.setUniform("viewProjMatrix", frame.view.viewProjection);
    shader.setUniform("modelMatrix", level.water->getModelMatrix());
    shader.setUniform("normalMatrix", normalMatrixOf(level.water->getModelMatrix()));
    shader.setUniform("time", frame.waterAnimationEnabled ? frame.time : 0.0f);
    shader.setUniform("camera_world", frame.view.eye);
    shader.setUniform("baseColor", glm::vec3(0.2f, 0.4f, 0.8f));
    setLightBlock(shader, level.lights);
    shader.setUniform("draw_normals", frame.drawNormals ? 1 : 0);
    level.water->draw();
}

// Translucent and behind everything drawn after it: no depth writes.
void drawCloudLayer(Level& level, const FrameParameters& frame)
{
    level.cloudMaterial->time = frame.time;
    Shader& shader = *level.cloudShader;
    shader.use();
    setCameraUniforms(shader, frame.view, level.cloudLayer->getModelMatrix());
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    level.cloudLayer->draw();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void drawParticles(Level& level, const FrameParameters& frame)
{
    Shader& shader = *level.particleShader;
    shader.use();
    shader.setUniform("u_viewProj", frame.view.viewProjection);
    shader.setUniform("u_view", frame.view.view);
    level.particles->draw(frame.view.viewProjection);
}

// Models set no matrix of their own: the frame sets "modelMatrix" for each.
void drawModels(Level& level, const FrameParameters& frame)
{
    uploadCameraAndLights(level, frame.view);
    for (Model* model : {&*level.wings, &*level.flag, &*level.cloudModel}) {
        level.textureShader->setUniform("modelMatrix", model->getModelMatrix());
        model->draw();
    }
}

}  // namespace

void uploadCameraAndLights(Level& level, const CameraView& view)
{
    Shader& shader = *level.textureShader;
    shader.use();
    shader.setUniform("viewProjMatrix", view.viewProjection);
    shader.setUniform("camera_world", view.eye);
    setLightBlock(shader, level.lights);
}

void drawScenePasses(Level& level, const RenderTargets& targets, const std::vector<bool>& ringPassed,
                     const FrameParameters& frame)
{
    bindSceneTarget(targets, frame);             // 1. scene target, cleared to the sky
    drawRings(level, ringPassed);                // 2. rings not yet passed
    drawWall(level, frame);                      // 3. the well wall with its baked light
    drawWater(level, frame);                     // 4. water
    drawCloudLayer(level, frame);                // 5. the cloud layer, translucent
    level.fairyBody->draw();                     // 6. the fairy
    if (frame.particlesEnabled)                  // 7. its trail of sparks
        drawParticles(level, frame);
    drawModels(level, frame);                    // 8. wings, flag, cloud
}

void drawFrame(Level& level, const RenderTargets& targets, const std::vector<bool>& ringPassed,
               const FrameParameters& frame)
{
    drawScenePasses(level, targets, ringPassed, frame);  // 1-8. the scene into its target
    glBindFramebuffer(GL_FRAMEBUFFER, 0);        // 9. back to the window, polygons filled
    applyPolygonMode(false);
    applyFaceCulling(false);
    const int blurred = level.bloom->blur(targets);  // 10. glow and composite
    level.bloom->composite(targets, blurred);
    if (frame.overlayEnabled)                    // 11. power bar and heart
        level.overlay->drawOverlay(frame.framebufferWidth, frame.framebufferHeight, frame.fairyPower);
}
