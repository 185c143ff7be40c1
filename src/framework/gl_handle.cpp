#include "gl_handle.h"

void deleteBufferName(GLuint name)
{
    glDeleteBuffers(1, &name);
}

void deleteVertexArrayName(GLuint name)
{
    glDeleteVertexArrays(1, &name);
}

void deleteTextureName(GLuint name)
{
    glDeleteTextures(1, &name);
}

void deleteFramebufferName(GLuint name)
{
    glDeleteFramebuffers(1, &name);
}

void deleteRenderbufferName(GLuint name)
{
    glDeleteRenderbuffers(1, &name);
}

void deleteProgramName(GLuint name)
{
    glUseProgram(0);
    glDeleteProgram(name);
}

BufferHandle makeBuffer()
{
    GLuint name = 0;
    glGenBuffers(1, &name);
    return BufferHandle(name);
}

VertexArrayHandle makeVertexArray()
{
    GLuint name = 0;
    glGenVertexArrays(1, &name);
    return VertexArrayHandle(name);
}

TextureHandle makeTexture()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    return TextureHandle(name);
}

FramebufferHandle makeFramebuffer()
{
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    return FramebufferHandle(name);
}

RenderbufferHandle makeRenderbuffer()
{
    GLuint name = 0;
    glGenRenderbuffers(1, &name);
    return RenderbufferHandle(name);
}
