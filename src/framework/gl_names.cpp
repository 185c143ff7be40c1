#include "gl_names.h"

void deleteBuffer(GLuint& name)
{
    if (name != 0)
        glDeleteBuffers(1, &name);
    name = 0;
}

void deleteVertexArray(GLuint& name)
{
    if (name != 0)
        glDeleteVertexArrays(1, &name);
    name = 0;
}

void deleteTexture(GLuint& name)
{
    if (name != 0)
        glDeleteTextures(1, &name);
    name = 0;
}

void deleteFramebuffer(GLuint& name)
{
    if (name != 0)
        glDeleteFramebuffers(1, &name);
    name = 0;
}

void deleteRenderbuffer(GLuint& name)
{
    if (name != 0)
        glDeleteRenderbuffers(1, &name);
    name = 0;
}
