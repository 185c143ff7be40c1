#include "gl_call_counts.h"

#include <GL/glew.h>

#include <dlfcn.h>

#include <cstdlib>
#include <utility>

namespace {

GlCallCounts tally;
bool counting = false;

// Bytes per pixel of client image data; packed types count once.
std::int64_t bytesPerPixel(GLenum format, GLenum type)
{
    std::int64_t components = 4;
    switch (format) {
    case GL_RED: case GL_RED_INTEGER: case GL_DEPTH_COMPONENT: case GL_STENCIL_INDEX: components = 1; break;
    case GL_RG: case GL_RG_INTEGER: case GL_DEPTH_STENCIL: components = 2; break;
    case GL_RGB: case GL_BGR: case GL_RGB_INTEGER: components = 3; break;
    default: components = 4; break;
    }
    switch (type) {
    case GL_UNSIGNED_BYTE: case GL_BYTE: return components;
    case GL_UNSIGNED_SHORT: case GL_SHORT: case GL_HALF_FLOAT: return components * 2;
    case GL_UNSIGNED_INT: case GL_INT: case GL_FLOAT: return components * 4;
    case GL_UNSIGNED_SHORT_5_6_5: case GL_UNSIGNED_SHORT_4_4_4_4: case GL_UNSIGNED_SHORT_5_5_5_1: return 2;
    default: return 4;
    }
}

std::int64_t imageBytes(GLsizei width, GLsizei height, GLsizei depth, GLenum format, GLenum type,
                        const void* pixels)
{
    if (pixels == nullptr)
        return 0;  // storage only, nothing crosses over
    return static_cast<std::int64_t>(width) * height * depth * bytesPerPixel(format, type);
}

// What a wrapped call adds to the tally, given the call's own arguments.
struct CountNames {
    template <typename... Rest>
    void operator()(GLsizei count, Rest...) const { tally.objectsCreated += count; }
};
struct CountNamesAfterTarget {
    template <typename... Rest>
    void operator()(GLenum, GLsizei count, Rest...) const { tally.objectsCreated += count; }
};
struct CountObject {
    template <typename... Any>
    void operator()(Any...) const { ++tally.objectsCreated; }
};
struct CountLocationQuery {
    template <typename... Any>
    void operator()(Any...) const { ++tally.locationQueries; }
};
struct CountDraw {
    template <typename... Any>
    void operator()(Any...) const { ++tally.drawCalls; }
};
struct CountBufferData {
    template <typename Target, typename Usage>
    void operator()(Target, GLsizeiptr size, const void* data, Usage) const
    {
        if (data != nullptr)
            tally.bytesUploaded += size;
    }
};
struct CountBufferSubData {
    template <typename Target>
    void operator()(Target, GLintptr, GLsizeiptr size, const void*) const { tally.bytesUploaded += size; }
};
struct CountCompressedImage {
    void operator()(GLenum, GLint, GLenum, GLsizei, GLsizei, GLint, GLsizei size, const void* data) const
    {
        if (data != nullptr)
            tally.bytesUploaded += size;
    }
};
struct CountCompressedSubImage {
    void operator()(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLsizei size, const void*) const
    {
        tally.bytesUploaded += size;
    }
};
struct CountImage3D {
    void operator()(GLenum, GLint, GLint, GLsizei width, GLsizei height, GLsizei depth, GLint, GLenum format,
                    GLenum type, const void* pixels) const
    {
        tally.bytesUploaded += imageBytes(width, height, depth, format, type, pixels);
    }
};
struct CountSubImage3D {
    void operator()(GLenum, GLint, GLint, GLint, GLint, GLsizei width, GLsizei height, GLsizei depth, GLenum format,
                    GLenum type, const void* pixels) const
    {
        tally.bytesUploaded += imageBytes(width, height, depth, format, type, pixels);
    }
};

// Puts a counting wrapper into one of GLEW's function pointers.
template <typename Function, Function* slot, typename Action>
struct Hook;

template <typename Result, typename... Args, Result (GLAPIENTRY** slot)(Args...), typename Action>
struct Hook<Result (GLAPIENTRY*)(Args...), slot, Action> {
    static inline Result (GLAPIENTRY* real)(Args...) = nullptr;

    static Result GLAPIENTRY call(Args... args)
    {
        if (counting)
            Action{}(args...);
        return real(args...);
    }
    static void install()
    {
        // GLEW leaves entry points the driver lacks at null; those stay null.
        if (*slot != nullptr)
            real = std::exchange(*slot, &call);
    }
    static void remove()
    {
        if (real != nullptr)
            *slot = std::exchange(real, nullptr);
    }
};

#define BENCH_HOOK(name, action) Hook<decltype(__glew##name), &__glew##name, action>

template <typename... Hooks>
struct HookSet {
    static void install() { (Hooks::install(), ...); }
    static void remove() { (Hooks::remove(), ...); }
};

using AllHooks = HookSet<
    BENCH_HOOK(GenBuffers, CountNames), BENCH_HOOK(GenVertexArrays, CountNames),
    BENCH_HOOK(GenFramebuffers, CountNames), BENCH_HOOK(GenRenderbuffers, CountNames),
    BENCH_HOOK(GenQueries, CountNames), BENCH_HOOK(GenSamplers, CountNames),
    BENCH_HOOK(GenTransformFeedbacks, CountNames), BENCH_HOOK(GenProgramPipelines, CountNames),
    BENCH_HOOK(CreateBuffers, CountNames), BENCH_HOOK(CreateVertexArrays, CountNames),
    BENCH_HOOK(CreateFramebuffers, CountNames), BENCH_HOOK(CreateRenderbuffers, CountNames),
    BENCH_HOOK(CreateSamplers, CountNames), BENCH_HOOK(CreateProgramPipelines, CountNames),
    BENCH_HOOK(CreateTransformFeedbacks, CountNames), BENCH_HOOK(CreateTextures, CountNamesAfterTarget),
    BENCH_HOOK(CreateQueries, CountNamesAfterTarget), BENCH_HOOK(CreateProgram, CountObject),
    BENCH_HOOK(CreateShader, CountObject), BENCH_HOOK(CreateShaderProgramv, CountObject),
    BENCH_HOOK(FenceSync, CountObject),
    BENCH_HOOK(GetUniformLocation, CountLocationQuery), BENCH_HOOK(GetAttribLocation, CountLocationQuery),
    BENCH_HOOK(GetUniformBlockIndex, CountLocationQuery), BENCH_HOOK(GetUniformIndices, CountLocationQuery),
    BENCH_HOOK(GetFragDataLocation, CountLocationQuery),
    BENCH_HOOK(GetProgramResourceLocation, CountLocationQuery),
    BENCH_HOOK(GetProgramResourceIndex, CountLocationQuery),
    BENCH_HOOK(DrawArraysInstanced, CountDraw), BENCH_HOOK(DrawElementsInstanced, CountDraw),
    BENCH_HOOK(DrawRangeElements, CountDraw), BENCH_HOOK(DrawElementsBaseVertex, CountDraw),
    BENCH_HOOK(DrawRangeElementsBaseVertex, CountDraw), BENCH_HOOK(DrawElementsInstancedBaseVertex, CountDraw),
    BENCH_HOOK(DrawArraysInstancedBaseInstance, CountDraw),
    BENCH_HOOK(DrawElementsInstancedBaseInstance, CountDraw),
    BENCH_HOOK(DrawElementsInstancedBaseVertexBaseInstance, CountDraw),
    BENCH_HOOK(DrawArraysIndirect, CountDraw), BENCH_HOOK(DrawElementsIndirect, CountDraw),
    BENCH_HOOK(MultiDrawArrays, CountDraw), BENCH_HOOK(MultiDrawElements, CountDraw),
    BENCH_HOOK(BufferData, CountBufferData), BENCH_HOOK(NamedBufferData, CountBufferData),
    BENCH_HOOK(BufferSubData, CountBufferSubData), BENCH_HOOK(NamedBufferSubData, CountBufferSubData),
    BENCH_HOOK(CompressedTexImage2D, CountCompressedImage),
    BENCH_HOOK(CompressedTexSubImage2D, CountCompressedSubImage), BENCH_HOOK(TexImage3D, CountImage3D),
    BENCH_HOOK(TexSubImage3D, CountSubImage3D)>;

#undef BENCH_HOOK

template <typename Function>
Function nextGlFunction(const char* name)
{
    void* symbol = dlsym(RTLD_NEXT, name);
    if (symbol == nullptr)
        std::abort();  // no libGL behind this executable: nothing could be drawn anyway
    return reinterpret_cast<Function>(symbol);
}

}  // namespace

// The GL 1.1 entry points, taken by this executable ahead of libGL.
extern "C" {
void GLAPIENTRY glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    static const auto real = nextGlFunction<void(GLAPIENTRY*)(GLenum, GLint, GLsizei)>("glDrawArrays");
    if (counting)
        ++tally.drawCalls;
    real(mode, first, count);
}

void GLAPIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices)
{
    static const auto real =
        nextGlFunction<void(GLAPIENTRY*)(GLenum, GLsizei, GLenum, const void*)>("glDrawElements");
    if (counting)
        ++tally.drawCalls;
    real(mode, count, type, indices);
}

void GLAPIENTRY glGenTextures(GLsizei count, GLuint* names)
{
    static const auto real = nextGlFunction<void(GLAPIENTRY*)(GLsizei, GLuint*)>("glGenTextures");
    if (counting)
        tally.objectsCreated += count;
    real(count, names);
}

void GLAPIENTRY glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                             GLint border, GLenum format, GLenum type, const void* pixels)
{
    static const auto real =
        nextGlFunction<void(GLAPIENTRY*)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum,
                                         const void*)>("glTexImage2D");
    if (counting)
        tally.bytesUploaded += imageBytes(width, height, 1, format, type, pixels);
    real(target, level, internalFormat, width, height, border, format, type, pixels);
}

void GLAPIENTRY glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height,
                                GLenum format, GLenum type, const void* pixels)
{
    static const auto real =
        nextGlFunction<void(GLAPIENTRY*)(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum,
                                         const void*)>("glTexSubImage2D");
    if (counting)
        tally.bytesUploaded += imageBytes(width, height, 1, format, type, pixels);
    real(target, level, x, y, width, height, format, type, pixels);
}
}

GlCallCounting::GlCallCounting()
{
    tally = GlCallCounts{};
    AllHooks::install();
    counting = true;
}

GlCallCounting::~GlCallCounting()
{
    counting = false;
    AllHooks::remove();
}

GlCallCounts GlCallCounting::counts() const
{
    return tally;
}
