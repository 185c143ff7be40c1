// The scene's floor: its own draws, each with a twin program that keeps the
// original's vertex stage (so every triangle covers the same pixels) and
// writes constants to both scene targets. While redirected, GLEW's
// glUseProgram and uniform setters go to the twins, each uniform location
// translated by name (fragment-only uniforms are dropped).
#include "bench.h"

#include "framework/shader.h"

#include <type_traits>
#include <unordered_map>

struct ConstantScene {
    struct Twin {
        ProgramHandle program;
        std::unordered_map<GLint, GLint> locations;  // the original's to the twin's
    };
    std::map<GLuint, Twin> twins;  // by the original program
    const Twin* current = nullptr;
};

namespace {

VertexSources* caughtSources = nullptr;
ConstantScene* activeScene = nullptr;

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

// The game detaches a program's stages only after linking it: here they are still attached.
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
        (*caughtSources)[program] = source;
    }
}

void GLAPIENTRY useTwinHook(GLuint program)
{
    const auto found = activeScene->twins.find(program);
    activeScene->current = found == activeScene->twins.end() ? nullptr : &found->second;
    Real<&__glewUseProgram>::function(activeScene->current ? activeScene->current->program.get() : program);
}

// A uniform setter with the location translated to the current twin's (fragment-only uniforms dropped).
template <auto* Setter, typename = std::remove_pointer_t<std::remove_pointer_t<decltype(Setter)>>>
struct TwinUniform;
template <auto* Setter, typename... Values>
struct TwinUniform<Setter, void(GLint, Values...)> {
    static void GLAPIENTRY hook(GLint location, Values... values)
    {
        if (const ConstantScene::Twin* twin = activeScene->current) {
            const auto found = twin->locations.find(location);
            location = found == twin->locations.end() ? -1 : found->second;
        }
        if (location != -1)
            Real<Setter>::function(location, values...);
    }
};

template <auto*... Setters>
void redirect(ConstantScene* scene)
{
    if (!scene)
        return uninstall<&__glewUseProgram, Setters...>();
    activeScene = scene;
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    (install<&__glewUseProgram>(useTwinHook), ..., install<Setters>(TwinUniform<Setters>::hook));
    glUseProgram(static_cast<GLuint>(program));  // the program the frame left current, as its twin
}

constexpr const char* constantFragmentSource = R"(#version 430 core
layout(location = 0) out vec4 sceneColor; layout(location = 1) out vec4 brightColor;
void main() { sceneColor = vec4(0.5, 0.5, 0.5, 1.0); brightColor = vec4(0.0, 0.0, 0.0, 1.0); })";

}  // namespace

VertexSources catchVertexSources(const std::function<void()>& build)
{
    VertexSources sources;
    caughtSources = &sources;
    install<&__glewLinkProgram>(linkProgramHook);
    build();
    uninstall<&__glewLinkProgram>();
    return sources;
}

std::shared_ptr<ConstantScene> makeConstantScene(const VertexSources& sources)
{
    auto scene = std::make_shared<ConstantScene>();
    for (const auto& [original, vertexSource] : sources) {
        ConstantScene::Twin& twin = scene->twins[original];
        twin.program = buildProgram({vertexSource, constantFragmentSource, true}).program;
        if (!twin.program)
            return nullptr;
        GLint count = 0;
        glGetProgramiv(original, GL_ACTIVE_UNIFORMS, &count);
        for (GLint i = 0; i < count; ++i) {
            char name[256];
            GLint size = 0;
            GLenum type = 0;
            glGetActiveUniform(original, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type, name);
            if (const GLint from = glGetUniformLocation(original, name); from != -1)
                twin.locations[from] = glGetUniformLocation(twin.program.get(), name);
        }
    }
    return scene;
}

void redirectToTwins(ConstantScene* scene)
{
    redirect<&__glewUniform1i, &__glewUniform1f, &__glewUniform2f, &__glewUniform3f, &__glewUniform4f,
             &__glewUniformMatrix3fv, &__glewUniformMatrix4fv>(scene);
}
