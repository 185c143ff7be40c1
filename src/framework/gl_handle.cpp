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

namespace {

// One name from a glGen* function, owned by a handle of its kind.
template <typename Handle>
Handle generated(void(GLAPIENTRY* generate)(GLsizei, GLuint*))
{
    GLuint name = 0;
    generate(1, &name);
    return Handle(name);
}

}  // namespace

BufferHandle makeBuffer()
{
    return generated<BufferHandle>(glGenBuffers);
}

VertexArrayHandle makeVertexArray()
{
    return generated<VertexArrayHandle>(glGenVertexArrays);
}

TextureHandle makeTexture()
{
    return generated<TextureHandle>(glGenTextures);
}

FramebufferHandle makeFramebuffer()
{
    return generated<FramebufferHandle>(glGenFramebuffers);
}

RenderbufferHandle makeRenderbuffer()
{
    return generated<RenderbufferHandle>(glGenRenderbuffers);
}
