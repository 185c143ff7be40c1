#include "gl_object_census.h"

bool GlObjectCensus::operator==(const GlObjectCensus& other) const
{
    return textures == other.textures && buffers == other.buffers && vertexArrays == other.vertexArrays &&
           framebuffers == other.framebuffers && renderbuffers == other.renderbuffers &&
           programs == other.programs && shaders == other.shaders;
}

GlObjectCensus countLiveGlObjects(GLuint highestName)
{
    GlObjectCensus census;
    for (GLuint name = 1; name <= highestName; ++name) {
        census.textures += glIsTexture(name) ? 1 : 0;
        census.buffers += glIsBuffer(name) ? 1 : 0;
        census.vertexArrays += glIsVertexArray(name) ? 1 : 0;
        census.framebuffers += glIsFramebuffer(name) ? 1 : 0;
        census.renderbuffers += glIsRenderbuffer(name) ? 1 : 0;
        census.programs += glIsProgram(name) ? 1 : 0;
        census.shaders += glIsShader(name) ? 1 : 0;
    }
    return census;
}
