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

VertexSources* caught = nullptr;
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

template <auto*... Globals>
void uninstall()
{
    ((*Globals = Real<Globals>::function), ...);
}

// The game detaches its stages only after linking, so here they are still attached.
void GLAPIENTRY linkProgramHook(GLuint program)
{
    Real<&__glewLinkProgram>::function(program);
    GLuint shaders[2] = {0, 0};
    GLsizei attached = 0;
    glGetAttachedShaders(program, 2, &attached, shaders);
    for (GLsizei i = 0; i < attached; ++i) {
        GLint type = 0, length = 0;
        glGetShaderiv(shaders[i], GL_SHADER_TYPE, &type);
        glGetShaderiv(shaders[i], GL_SHADER_SOURCE_LENGTH, &length);
        if (type != GL_VERTEX_SHADER || length < 1)
            continue;
        std::string source(static_cast<std::size_t>(length), '\0');
        glGetShaderSource(shaders[i], length, nullptr, source.data());
        source.pop_back();  // the terminating null
        (*caught)[program] = source;
    }
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

VertexSources catchVertexSources(const std::function<void()>& build)
{
    VertexSources sources;
    caught = &sources;
    install<&__glewLinkProgram>(linkProgramHook);
    build();
    uninstall<&__glewLinkProgram>();
    caught = nullptr;
    return sources;
}

ConstantPrograms::ConstantPrograms(const VertexSources& sources)
{
    for (const auto& [original, vertexSource] : sources) {
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

void ConstantPrograms::swapIn()
{
    activePrograms = this;
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

void ConstantPrograms::swapOut()
{
    uninstall<&__glewUseProgram, &__glewUniform1i, &__glewUniform1f, &__glewUniform2f, &__glewUniform3f,
              &__glewUniform4f, &__glewUniformMatrix3fv, &__glewUniformMatrix4fv>();
    activePrograms = nullptr;
}
