// Ownership of one GL object name: the handle deletes it once, when it goes
// or is given another name. Handles move but never copy, and a moved-from
// handle holds 0 and deletes nothing, so any class made of handles is a
// correct move-only GL owner without writing its moves by hand.
#pragma once

#include <GL/glew.h>

#include <utility>

template <void (*deleteName)(GLuint)>
class GlHandle {
public:
    GlHandle() = default;
    explicit GlHandle(GLuint name) : name_(name) {}
    ~GlHandle() { reset(); }

    GlHandle(GlHandle&& other) noexcept : name_(std::exchange(other.name_, 0)) {}
    GlHandle& operator=(GlHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            name_ = std::exchange(other.name_, 0);
        }
        return *this;
    }
    GlHandle(const GlHandle&) = delete;
    GlHandle& operator=(const GlHandle&) = delete;

    GLuint get() const { return name_; }
    explicit operator bool() const { return name_ != 0; }

    // Deletes the current name, if any, and takes `name`.
    void reset(GLuint name = 0)
    {
        if (name_ != 0)
            deleteName(name_);
        name_ = name;
    }

private:
    GLuint name_ = 0;
};

void deleteBufferName(GLuint name);
void deleteVertexArrayName(GLuint name);
void deleteTextureName(GLuint name);
void deleteFramebufferName(GLuint name);
void deleteRenderbufferName(GLuint name);
// No program is left current afterwards, whichever one was.
void deleteProgramName(GLuint name);

using BufferHandle = GlHandle<deleteBufferName>;
using VertexArrayHandle = GlHandle<deleteVertexArrayName>;
using TextureHandle = GlHandle<deleteTextureName>;
using FramebufferHandle = GlHandle<deleteFramebufferName>;
using RenderbufferHandle = GlHandle<deleteRenderbufferName>;
using ProgramHandle = GlHandle<deleteProgramName>;

// A freshly generated name of each kind.
BufferHandle makeBuffer();
VertexArrayHandle makeVertexArray();
TextureHandle makeTexture();
FramebufferHandle makeFramebuffer();
RenderbufferHandle makeRenderbuffer();
