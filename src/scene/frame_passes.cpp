#include "frame_passes.h"

#include "level.h"
#include "render_targets.h"

#include "framework/render_state.h"
#include "game/game_state.h"
#include "game/menu_layout.h"
#include "game/particle_pool.h"

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

// Camera and lights for the texture program, which keeps them for the
// rings, the fairy and the models of the frame.
void setUpCameraAndLights(Level& level, const FrameParameters& frame)
{
    if (frame.fairy)
        placeFairyObjects(level, *frame.fairy);
    Shader& shader = *level.textureShader;
    shader.use();
    shader.setUniform("viewProjMatrix", frame.view.viewProjection);
    shader.setUniform("camera_world", frame.view.eye);
    setLightBlock(shader, level.lights);
}

// The scene's geometry is opaque unless a pass says otherwise, and the
// debug switches for polygons and culling apply to it alone.
void bindSceneTarget(const RenderTargets& targets, const FrameParameters& frame)
{
    glBindFramebuffer(GL_FRAMEBUFFER, targets.sceneFramebuffer());
    // A scene smaller than the window; the blur and the composite set theirs.
    if (targets.sceneWidth() != targets.width() || targets.sceneHeight() != targets.height())
        glViewport(0, 0, targets.sceneWidth(), targets.sceneHeight());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    applyPolygonMode(frame.wireframe);
    applyFaceCulling(frame.backfaceCulling);
}

void drawRings(Level& level, const FrameParameters& frame)
{
    const std::vector<bool>& passed = frame.game->ringPassed;
    for (size_t i = 0; i < level.rings.size(); ++i) {
        if (i >= passed.size() || !passed[i])
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
    shader.setUniform("baseColor", waterColor);
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

// Models set no matrix of their own: the frame sets each one's matrices on
// the texture program, which still holds the camera and lights of step 0.
// Their own normal matrix, as the flag and the wings turn: the one left from
// the fairy's body would light them from the wrong side.
void drawModels(Level& level)
{
    Shader& shader = *level.textureShader;
    shader.use();
    for (Model* model : {&*level.wings, &*level.flag, &*level.cloudModel}) {
        const glm::mat4 matrix = model->getModelMatrix();
        shader.setUniform("modelMatrix", matrix);
        shader.setUniform("normalMatrix", normalMatrixOf(matrix));
        model->draw();
    }
}

// Translucent, over everything opaque: blended, and it hides nothing behind
// it from what is drawn later. One draw.
void drawGhost(Level& level, const FrameParameters& frame)
{
    placeGhost(level, *frame.ghost);
    Shader& shader = *level.ghostShader;
    shader.use();
    shader.setUniform("viewProjMatrix", frame.view.viewProjection);
    shader.setUniform("camera_world", frame.view.eye);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    level.ghostBody->draw();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

// The scene into its floating-point target, which stays bound.
void drawScene(Level& level, const RenderTargets& targets, const FrameParameters& frame)
{
    bindSceneTarget(targets, frame);  // 1. scene target, cleared to the sky
    drawRings(level, frame);          // 2. rings not yet passed
    drawWall(level, frame);           // 3. the well wall with its baked light
    drawWater(level, frame);          // 4. water
    drawCloudLayer(level, frame);     // 5. the cloud layer, translucent
    level.fairyBody->draw();          // 6. the fairy
    if (frame.particles)              // 7. its trail of sparks
        level.particles->draw(*frame.particles, frame.view.view, frame.view.viewProjection);
    drawModels(level);                // 8. wings, flag, cloud
    if (frame.ghost && level.ghostBody)  // 9. the best run's ghost, translucent
        drawGhost(level, frame);
}

// Lets the observer, if any, see each pass begin and end.
template <typename Pass>
void observed(FrameObserver* observer, FramePass pass, Pass&& draw)
{
    if (observer)
        observer->passBegins(pass);
    draw();
    if (observer)
        observer->passEnds(pass);
}

}  // namespace

void drawFrame(Level& level, const RenderTargets& targets, const FrameParameters& frame, FrameObserver* observer)
{
    observed(observer, FramePass::scene, [&] {
        setUpCameraAndLights(level, frame);  // 0. camera, lights and the fairy's objects
        drawScene(level, targets, frame);    // 1-9. the scene into its target
        glBindFramebuffer(GL_FRAMEBUFFER, 0);  // 10. back to the window, polygons filled
        applyPolygonMode(false);
        applyFaceCulling(false);
    });
    for (int i = 0; i < Bloom::blurIterations; ++i)  // 11. the glow, then the composite
        observed(observer, i % 2 == 0 ? FramePass::blurHorizontal : FramePass::blurVertical,
                 [&] { level.bloom->blurPass(targets, i); });
    observed(observer, FramePass::composite, [&] { level.bloom->composite(targets); });
    if (frame.menu)  // 12. the menu, or power bar, heart and words
        observed(observer, FramePass::hud, [&] {
            const MenuLayout menu = menuLayout(*frame.menu, static_cast<float>(targets.width()),
                                               static_cast<float>(targets.height()));
            level.hud->drawMenuPanel(menu, targets.width(), targets.height());
            level.text->drawLines(menu.text, targets.width(), targets.height());
        });
    else if (frame.overlayEnabled)
        observed(observer, FramePass::hud, [&] {
            level.hud->draw(targets.width(), targets.height(), frame.powerShare, frame.hud.paused);
            level.text->draw(frame.hud, targets.width(), targets.height());
        });
}
