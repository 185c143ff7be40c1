#include "render_state.h"

#include <GL/glew.h>

void applyInitialRenderState(const RendererSettings& settings)
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (settings.depthtest)
        glEnable(GL_DEPTH_TEST);
    if (settings.backface_culling)
        glEnable(GL_CULL_FACE);
    if (settings.wireframe)
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glClearColor(skyColor[0], skyColor[1], skyColor[2], skyColor[3]);
}

void applyPolygonMode(bool wireframe)
{
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
}

void applyFaceCulling(bool enabled)
{
    if (enabled)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
}
