#include "constant_scene.h"

#include "framework/shader.h"

#include <type_traits>

namespace {

constexpr const char* constantFragmentSource = R"(#version 430 core
layout(location = 0) out vec4 sceneColor;
layout(location = 1) out vec4 brightColor;
void main()
{
    sceneColor = vec4(0.5, 0.5, 0.5, 1.0);
    brightColor = vec4(0.0, 0.0, 0.0, 1.0);
}
)";

VertexSourceLog* activeLog = nullptr;
ConstantPrograms* activePrograms = nullptr;

// The real entry point behind each GLEW pointer a hook replaces.
template <auto* Global>
struct Real {
    static inline std::remove_pointer_t<decltype(Global)> function = nullptr;
};

template <auto* Global, typename Hook>
void install(Hook hook)
{
    Real<Global>::function = *Global;
    *Global = hook;
}

template <auto* Global>
void uninstall()
{
    *Global = Real<Global>::function;
}

GLuint GLAPIENTRY createShaderHook(GLenum type)
{
    const GLuint shader = Real<&__glewCreateShader>::function(type);
    activeLog->shaderCreated(shader, type);
    return shader;
}

void GLAPIENTRY shaderSourceHook(GLuint shader, GLsizei count, const GLchar* const* strings, const GLint* lengths)
{
    std::string source;
    for (GLsizei i = 0; i < count; ++i)
        source += lengths && lengths[i] >= 0 ? std::string(strings[i], static_cast<std::size_t>(lengths[i]))
                                             : std::string(strings[i]);
    activeLog->sourceGiven(shader, source);
    Real<&__glewShaderSource>::function(shader, count, strings, lengths);
}

void GLAPIENTRY attachShaderHook(GLuint program, GLuint shader)
{
    activeLog->attached(program, shader);
    Real<&__glewAttachShader>::function(program, shader);
}

void GLAPIENTRY useProgramHook(GLuint program)
{
    Real<&__glewUseProgram>::function(activePrograms->twinOf(program));
}

template <auto* Global, typename... Args>
void GLAPIENTRY uniformHook(GLint location, Args... args)
{
    const GLint twin = activePrograms->twinLocation(location);
    if (twin != -1)
        Real<Global>::function(twin, args...);
}

}  // namespace

VertexSourceLog::Listen::Listen(VertexSourceLog& log)
{
    activeLog = &log;
    install<&__glewCreateShader>(createShaderHook);
    install<&__glewShaderSource>(shaderSourceHook);
    install<&__glewAttachShader>(attachShaderHook);
}

VertexSourceLog::Listen::~Listen()
{
    uninstall<&__glewCreateShader>();
    uninstall<&__glewShaderSource>();
    uninstall<&__glewAttachShader>();
    activeLog = nullptr;
}

void VertexSourceLog::shaderCreated(GLuint shader, GLenum type)
{
    types_[shader] = type;
}

void VertexSourceLog::sourceGiven(GLuint shader, std::string source)
{
    sources_[shader] = std::move(source);
}

void VertexSourceLog::attached(GLuint program, GLuint shader)
{
    const auto type = types_.find(shader);
    if (type != types_.end() && type->second == GL_VERTEX_SHADER)
        programs_[program] = sources_[shader];
}

ConstantPrograms::ConstantPrograms(const VertexSourceLog& log)
{
    for (const auto& [original, vertexSource] : log.vertexSources()) {
        ProgramBuild build = buildProgram(ProgramSources{vertexSource, constantFragmentSource, true});
        if (!build.program) {
            ready_ = false;
            continue;
        }
        Twin twin;
        GLint count = 0;
        glGetProgramiv(original, GL_ACTIVE_UNIFORMS, &count);
        for (GLint i = 0; i < count; ++i) {
            char name[256];
            GLint size = 0;
            GLenum type = 0;
            glGetActiveUniform(original, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type, name);
            const GLint from = glGetUniformLocation(original, name);
            if (from != -1)
                twin.locations[from] = glGetUniformLocation(build.program.get(), name);
        }
        twin.program = std::move(build.program);
        twins_.emplace(original, std::move(twin));
    }
}

GLuint ConstantPrograms::twinOf(GLuint program)
{
    const auto found = twins_.find(program);
    current_ = found == twins_.end() ? nullptr : &found->second;
    return current_ ? current_->program.get() : program;
}

GLint ConstantPrograms::twinLocation(GLint location) const
{
    if (!current_)
        return location;
    const auto found = current_->locations.find(location);
    return found == current_->locations.end() ? -1 : found->second;
}

ConstantPrograms::Swap::Swap(ConstantPrograms& programs)
{
    activePrograms = &programs;
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    install<&__glewUseProgram>(useProgramHook);
    install<&__glewUniform1i>(uniformHook<&__glewUniform1i, GLint>);
    install<&__glewUniform1f>(uniformHook<&__glewUniform1f, GLfloat>);
    install<&__glewUniform2f>(uniformHook<&__glewUniform2f, GLfloat, GLfloat>);
    install<&__glewUniform3f>(uniformHook<&__glewUniform3f, GLfloat, GLfloat, GLfloat>);
    install<&__glewUniform4f>(uniformHook<&__glewUniform4f, GLfloat, GLfloat, GLfloat, GLfloat>);
    install<&__glewUniformMatrix3fv>(uniformHook<&__glewUniformMatrix3fv, GLsizei, GLboolean, const GLfloat*>);
    install<&__glewUniformMatrix4fv>(uniformHook<&__glewUniformMatrix4fv, GLsizei, GLboolean, const GLfloat*>);
    glUseProgram(static_cast<GLuint>(current));  // the program the frame left current, as its twin
}

ConstantPrograms::Swap::~Swap()
{
    uninstall<&__glewUseProgram>();
    uninstall<&__glewUniform1i>();
    uninstall<&__glewUniform1f>();
    uninstall<&__glewUniform2f>();
    uninstall<&__glewUniform3f>();
    uninstall<&__glewUniform4f>();
    uninstall<&__glewUniformMatrix3fv>();
    uninstall<&__glewUniformMatrix4fv>();
    activePrograms = nullptr;
}
