#include "lightmap.h"

#include "framebuffer_check.h"
#include "lights.h"

#include "framework/geometry.h"
#include "framework/render_state.h"
#include "framework/shader.h"
#include "framework/texture.h"

namespace {

constexpr float bakeNear = 0.1f;
constexpr float bakeFar = 20.0f;

}  // namespace

Lightmap::Lightmap() : texture_(makeTexture()), depthBuffer_(makeRenderbuffer()), framebuffer_(makeFramebuffer())
{
    glBindTexture(GL_TEXTURE_2D, texture_.get());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    setBoundTextureSampling(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE);

    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_.get());
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, size, size);

    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.get());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_.get(), 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_.get());
    checkBoundFramebuffer("lightmap", "the wall gets no baked light.");
}

void Lightmap::bake(Shader& bakeShader, Geometry& bakeGeometry, const SceneLights& lights, int viewportWidth,
                    int viewportHeight) const
{
    const glm::mat4& model = bakeGeometry.getModelMatrix();
    bakeShader.use();
    bakeShader.setUniform("uModelMatrix", model);
    bakeShader.setUniform("uNormalMatrix", normalMatrixOf(model));
    bakeShader.setUniform("uNear", bakeNear);
    bakeShader.setUniform("uFar", bakeFar);
    setLightBlock(bakeShader, lights);

    // The lightmap lasts the whole run: the debug switches of the moment
    // must not show in it.
    glViewport(0, 0, size, size);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    applyPolygonMode(false);
    applyFaceCulling(false);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.get());
    glClearColor(0.2f, 0.2f, 0.2f, 1.0f);  // texels no wall triangle covers keep this grey
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    bakeGeometry.draw();

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, viewportWidth, viewportHeight);
    glClearColor(skyColor[0], skyColor[1], skyColor[2], skyColor[3]);
}
