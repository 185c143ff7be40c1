#include "lightmap.h"

#include "lights.h"

#include "framework/geometry.h"
#include "framework/gl_names.h"
#include "framework/render_state.h"
#include "framework/shader.h"
#include "framework/texture.h"

Lightmap::Lightmap()
{
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    setBoundTextureSampling(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE);

    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, size, size);

    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
}

Lightmap::~Lightmap()
{
    deleteFramebuffer(framebuffer_);
    deleteRenderbuffer(depthBuffer_);
    deleteTexture(texture_);
}

void bakeLightmap(const Lightmap& lightmap, Shader& bakeShader, Geometry& bakeGeometry, const SceneLights& lights,
                  int viewportWidth, int viewportHeight)
{
    const glm::mat4& model = bakeGeometry.getModelMatrix();
    bakeShader.use();
    bakeShader.setUniform("uModelMatrix", model);
    bakeShader.setUniform("uNormalMatrix", normalMatrixOf(model));
    bakeShader.setUniform("uNear", 0.1f);
    bakeShader.setUniform("uFar", 20.0f);
    setLightBlock(bakeShader, lights);

    // The bake always draws whole, opaque triangles, whatever the debug
    // switches say: the lightmap lasts the whole run.
    glViewport(0, 0, Lightmap::size, Lightmap::size);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    applyPolygonMode(false);
    applyFaceCulling(false);
    glBindFramebuffer(GL_FRAMEBUFFER, lightmap.framebuffer_);
    glClearColor(0.2f, 0.2f, 0.2f, 1.0f);  // texels no wall triangle covers keep this grey
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    bakeGeometry.draw();

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, viewportWidth, viewportHeight);
    glClearColor(skyColor[0], skyColor[1], skyColor[2], skyColor[3]);
}
