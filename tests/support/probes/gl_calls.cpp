#include "gl_calls.h"

#include <dlfcn.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr int maxEntryPoints = 160;

// Everything recorded, in fixed storage so that counting allocates nothing.
struct Tally {
    GlCallCounts counts;
    std::array<const char*, maxEntryPoints> names{};
    std::array<std::int64_t, maxEntryPoints> calls{};
    int registered = 0;
    bool recording = false;
    bool nameUniforms = false;
    std::vector<UniformUpload> uniforms;
    std::vector<LocationQuery> queries;
};

Tally& tally()
{
    static Tally instance;
    return instance;
}

// The index of an entry point's counter; names are string literals.
int registerName(const char* name)
{
    Tally& t = tally();
    for (int i = 0; i < t.registered; ++i) {
        if (std::strcmp(t.names[i], name) == 0)
            return i;
    }
    if (t.registered == maxEntryPoints)
        std::abort();
    t.names[t.registered] = name;
    return t.registered++;
}

bool noteCall(int index)
{
    Tally& t = tally();
    if (!t.recording)
        return false;
    ++t.counts.calls;
    ++t.calls[index];
    return true;
}

// Bytes per pixel of client image data in the formats the game uses.
std::int64_t bytesPerPixel(GLenum format, GLenum type)
{
    const std::int64_t components = format == GL_RGB ? 3 : format == GL_DEPTH_COMPONENT ? 1 : 4;
    return components * (type == GL_UNSIGNED_BYTE ? 1 : type == GL_HALF_FLOAT ? 2 : 4);
}

std::int64_t imageBytes(GLsizei width, GLsizei height, GLenum format, GLenum type, const void* pixels)
{
    return pixels ? static_cast<std::int64_t>(width) * height * bytesPerPixel(format, type) : 0;
}

PFNGLGETUNIFORMLOCATIONPROC realGetUniformLocation();

// The uniform of the current program at `location`, by asking the program
// about each of its active uniforms. Not itself recorded.
std::string uniformNameAt(GLuint program, GLint location)
{
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[256] = {};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type, name);
        std::string text(name);
        if (text.size() > 3 && text.compare(text.size() - 3, 3, "[0]") == 0)
            text.resize(text.size() - 3);
        if (realGetUniformLocation()(program, text.c_str()) == location)
            return text;
    }
    return "?";
}

void keepUniform(GLint location, std::vector<float> values)
{
    Tally& t = tally();
    t.recording = false;  // the questions asked here are not the game's calls
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    UniformUpload upload{static_cast<GLuint>(program), uniformNameAt(static_cast<GLuint>(program), location),
                         std::move(values)};
    t.uniforms.push_back(std::move(upload));
    t.recording = true;
}

// What a wrapped call adds, given the call's own arguments.
struct Plain {
    template <typename... Any>
    void operator()(Any...) const {}
};
struct CountNames {
    template <typename... Rest>
    void operator()(GLsizei count, Rest...) const { tally().counts.objectsCreated += count; }
};
struct CountObject {
    template <typename... Any>
    void operator()(Any...) const { ++tally().counts.objectsCreated; }
};
struct CountLocationQuery {
    template <typename... Any>
    void operator()(Any...) const { ++tally().counts.locationQueries; }
};
void keepLocationQuery(GLuint program, const GLchar* name);
struct KeepLocationQuery {
    void operator()(GLuint program, const GLchar* name) const
    {
        ++tally().counts.locationQueries;
        keepLocationQuery(program, name);
    }
};
struct CountDraw {
    template <typename... Any>
    void operator()(Any...) const { ++tally().counts.drawCalls; }
};
struct CountBufferData {
    void operator()(GLenum, GLsizeiptr size, const void* data, GLenum) const
    {
        if (data != nullptr)
            tally().counts.bytesUploaded += size;
    }
};
struct CountBufferSubData {
    void operator()(GLenum, GLintptr, GLsizeiptr size, const void*) const { tally().counts.bytesUploaded += size; }
};
struct CountCompressedImage {
    void operator()(GLenum, GLint, GLenum, GLsizei, GLsizei, GLint, GLsizei size, const void* data) const
    {
        if (data != nullptr)
            tally().counts.bytesUploaded += size;
    }
};
struct KeepUniform {
    template <typename... Values>
    void operator()(GLint location, Values... values) const
    {
        if (tally().nameUniforms)
            keepUniform(location, {static_cast<float>(values)...});
    }
};
template <int size>
struct KeepMatrix {
    void operator()(GLint location, GLsizei, GLboolean, const GLfloat* value) const
    {
        if (tally().nameUniforms)
            keepUniform(location, std::vector<float>(value, value + size));
    }
};

// A recording wrapper in one of GLEW's function pointers.
template <typename Function, Function* slot, const char* name, typename Action>
struct Hook;

template <typename Result, typename... Args, Result (GLAPIENTRY** slot)(Args...), const char* name, typename Action>
struct Hook<Result (GLAPIENTRY*)(Args...), slot, name, Action> {
    static inline Result (GLAPIENTRY* real)(Args...) = nullptr;
    static inline int index = 0;

    static Result GLAPIENTRY call(Args... args)
    {
        if (noteCall(index))
            Action{}(args...);
        return real(args...);
    }
    static void install()
    {
        index = registerName(name);
        // GLEW leaves entry points the driver lacks at null; those stay null.
        if (*slot != nullptr && real == nullptr)
            real = std::exchange(*slot, &call);
    }
    static void remove()
    {
        if (real != nullptr)
            *slot = std::exchange(real, nullptr);
    }
};

template <typename... Hooks>
struct HookSet {
    static void install() { (Hooks::install(), ...); }
    static void remove() { (Hooks::remove(), ...); }
};

// Every GLEW entry point the game calls, and those a frame must not.
#define GLEW_HOOKS(X)                                                                                        \
    X(GenBuffers, CountNames) X(GenVertexArrays, CountNames) X(GenFramebuffers, CountNames)                 \
    X(GenRenderbuffers, CountNames) X(GenQueries, CountNames) X(CreateProgram, CountObject)                 \
    X(CreateShader, CountObject) X(GetUniformLocation, KeepLocationQuery)                                  \
    X(GetAttribLocation, CountLocationQuery) X(DrawArraysInstanced, CountDraw)                              \
    X(DrawElementsInstanced, CountDraw) X(DrawRangeElements, CountDraw) X(BufferData, CountBufferData)      \
    X(BufferSubData, CountBufferSubData) X(CompressedTexImage2D, CountCompressedImage)                      \
    X(Uniform1i, KeepUniform) X(Uniform1f, KeepUniform) X(Uniform2f, KeepUniform) X(Uniform3f, KeepUniform) \
    X(Uniform4f, KeepUniform) X(UniformMatrix3fv, KeepMatrix<9>) X(UniformMatrix4fv, KeepMatrix<16>)        \
    X(UseProgram, Plain)                                                                                     \
    X(BindVertexArray, Plain) X(BindBuffer, Plain) X(BindFramebuffer, Plain) X(BindRenderbuffer, Plain)     \
    X(ActiveTexture, Plain) X(VertexAttribPointer, Plain) X(EnableVertexAttribArray, Plain)                 \
    X(VertexAttribDivisor, Plain) X(FramebufferTexture2D, Plain) X(FramebufferRenderbuffer, Plain)          \
    X(RenderbufferStorage, Plain) X(DrawBuffers, Plain) X(GenerateMipmap, Plain) X(ShaderSource, Plain)     \
    X(CompileShader, Plain) X(AttachShader, Plain) X(DetachShader, Plain) X(LinkProgram, Plain)             \
    X(DeleteBuffers, Plain) X(DeleteVertexArrays, Plain) X(DeleteFramebuffers, Plain)                       \
    X(DeleteRenderbuffers, Plain) X(DeleteProgram, Plain) X(DeleteShader, Plain) X(GetProgramiv, Plain)     \
    X(GetShaderiv, Plain) X(BeginQuery, Plain) X(EndQuery, Plain)

#define NAME_OF(name, action) constexpr char name##Name[] = "gl" #name;
GLEW_HOOKS(NAME_OF)
#undef NAME_OF

#define HOOK_OF(name, action) , Hook<decltype(__glew##name), &__glew##name, name##Name, action>
struct NoHook {
    static void install() {}
    static void remove() {}
};
using GlewHooks = HookSet<NoHook GLEW_HOOKS(HOOK_OF)>;

PFNGLGETUNIFORMLOCATIONPROC realGetUniformLocation()
{
    using Location = Hook<decltype(__glewGetUniformLocation), &__glewGetUniformLocation, GetUniformLocationName,
                          KeepLocationQuery>;
    return Location::real != nullptr ? Location::real : __glewGetUniformLocation;
}

void keepLocationQuery(GLuint program, const GLchar* name)
{
    Tally& t = tally();
    if (t.nameUniforms)
        t.queries.push_back(LocationQuery{program, name, realGetUniformLocation()(program, name)});
}

#undef HOOK_OF
#undef GLEW_HOOKS

template <typename Function>
Function nextGlFunction(const char* name)
{
    void* symbol = dlsym(RTLD_NEXT, name);
    if (symbol == nullptr)
        std::abort();  // no libGL behind this executable: nothing could be drawn anyway
    return reinterpret_cast<Function>(symbol);
}

}  // namespace

// The GL 1.1 entry points the game calls, taken by this executable ahead of
// libGL. Each forwards; while recording it is counted first, and `action`
// runs on its arguments.
#define INTERPOSE(name, parameters, arguments, action)                      \
    extern "C" void GLAPIENTRY name parameters                              \
    {                                                                       \
        static const auto real = nextGlFunction<decltype(&::name)>(#name);  \
        static const int index = registerName(#name);                       \
        if (noteCall(index)) {                                              \
            action;                                                         \
        }                                                                   \
        real arguments;                                                     \
    }

INTERPOSE(glDrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count),
          ++tally().counts.drawCalls)
INTERPOSE(glDrawElements, (GLenum mode, GLsizei count, GLenum type, const void* indices),
          (mode, count, type, indices), ++tally().counts.drawCalls)
INTERPOSE(glGenTextures, (GLsizei count, GLuint* names), (count, names), tally().counts.objectsCreated += count)
INTERPOSE(glTexImage2D,
          (GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
           GLenum format, GLenum type, const void* pixels),
          (target, level, internalFormat, width, height, border, format, type, pixels),
          tally().counts.bytesUploaded += imageBytes(width, height, format, type, pixels))
INTERPOSE(glDeleteTextures, (GLsizei count, const GLuint* names), (count, names), )
INTERPOSE(glBindTexture, (GLenum target, GLuint texture), (target, texture), )
INTERPOSE(glTexParameteri, (GLenum target, GLenum name, GLint value), (target, name, value), )
INTERPOSE(glEnable, (GLenum capability), (capability), )
INTERPOSE(glDisable, (GLenum capability), (capability), )
INTERPOSE(glDepthMask, (GLboolean flag), (flag), )
INTERPOSE(glBlendFunc, (GLenum source, GLenum destination), (source, destination), )
INTERPOSE(glPolygonMode, (GLenum face, GLenum mode), (face, mode), )
INTERPOSE(glViewport, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height), )
INTERPOSE(glClear, (GLbitfield mask), (mask), )
INTERPOSE(glClearColor, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha), (red, green, blue, alpha), )

#undef INTERPOSE

GlCallRecorder::GlCallRecorder(bool nameUniforms)
{
    clear();
    tally().nameUniforms = nameUniforms;
    GlewHooks::install();
    tally().recording = true;
}

GlCallRecorder::~GlCallRecorder()
{
    tally().recording = false;
    GlewHooks::remove();
}

const GlCallCounts& GlCallRecorder::counts() const
{
    return tally().counts;
}

std::int64_t GlCallRecorder::callsTo(const char* function) const
{
    const Tally& t = tally();
    for (int i = 0; i < t.registered; ++i) {
        if (std::strcmp(t.names[i], function) == 0)
            return t.calls[i];
    }
    return 0;
}

const std::vector<LocationQuery>& GlCallRecorder::locationQueries() const
{
    return tally().queries;
}

const std::vector<UniformUpload>& GlCallRecorder::uniforms() const
{
    return tally().uniforms;
}

std::vector<UniformUpload> GlCallRecorder::uniforms(GLuint program, const std::string& name) const
{
    std::vector<UniformUpload> found;
    for (const UniformUpload& upload : tally().uniforms) {
        if (upload.program == program && upload.name == name)
            found.push_back(upload);
    }
    return found;
}

void GlCallRecorder::clear()
{
    Tally& t = tally();
    t.counts = GlCallCounts{};
    t.calls.fill(0);
    t.uniforms.clear();
    t.queries.clear();
}
