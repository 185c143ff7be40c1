// The frame's passes timed one by one, each two ways: a GL_TIME_ELAPSED query
// around it, and the wall clock to a glFinish after it. Their floors: the
// scene's own draws with twin programs that keep each vertex stage and write
// constants (GLEW's glUseProgram and uniform setters redirected to the twins
// while the scene pass runs), and one and two texel fetches per pixel.
#include "bench.h"

#include "framework/shader.h"
#include "scene/frame_passes.h"
#include "scene/fullscreen_quad.h"
#include "scene/render_targets.h"

#include <type_traits>
#include <unordered_map>

class ConstantScene {
public:
    struct Twin {
        ProgramHandle program;
        std::unordered_map<GLint, GLint> locations;  // the original's to the twin's
    };
    std::map<GLuint, Twin> twins;  // by the original program
    const Twin* current = nullptr;
    void swapIn();
    void swapOut();
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
// Every uniform setter the game calls, with glUseProgram, to the twins and back.
template <auto*... Setters>
void redirectToTwins(bool toTwins)
{
    if (toTwins)
        (install<&__glewUseProgram>(useTwinHook), ..., install<Setters>(TwinUniform<Setters>::hook));
    else
        uninstall<&__glewUseProgram, Setters...>();
}
constexpr auto redirectTheGame = redirectToTwins<&__glewUniform1i, &__glewUniform1f, &__glewUniform2f,
                                                 &__glewUniform3f, &__glewUniform4f, &__glewUniformMatrix3fv,
                                                 &__glewUniformMatrix4fv>;

// Times drawFrame's passes into `times` by group as FramePass lists them, each group's times the sums of
// its passes; with a constant scene, the scene draws with it.
class PassTimer : public FrameObserver {
public:
    PassTimer(ConstantScene* constantScene, PassGroupTimes& times) : constantScene_(constantScene), times_(times)
    {
        glGenQueries(1, &query_);
    }
    ~PassTimer() override { glDeleteQueries(1, &query_); }
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    void passBegins(FramePass pass) override
    {
        if (pass == FramePass::scene) {
            glFinish();  // a new frame: its first pass starts from an idle driver
            for (PassSeries& series : times_) {
                series.query.push_back(0.0);
                series.wall.push_back(0.0);
            }
            if (constantScene_)
                constantScene_->swapIn();
        }
        startNs_ = nowNanoseconds();
        glBeginQuery(GL_TIME_ELAPSED, query_);
    }
    void passEnds(FramePass pass) override
    {
        glEndQuery(GL_TIME_ELAPSED);
        glFinish();
        PassSeries& series = times_[static_cast<std::size_t>(pass)];
        series.wall.back() += millisecondsBetween(startNs_, nowNanoseconds());
        GLuint64 nanoseconds = 0;
        glGetQueryObjectui64v(query_, GL_QUERY_RESULT, &nanoseconds);
        series.query.back() += static_cast<double>(nanoseconds) / 1.0e6;
        if (pass == FramePass::scene && constantScene_)
            constantScene_->swapOut();
    }

private:
    ConstantScene* constantScene_;
    PassGroupTimes& times_;
    GLuint query_ = 0;
    std::int64_t startNs_ = 0;
};

// The floor passes' stages: the quad's coordinates through; the least a blur pass can do, one texel
// fetched and written per pixel; the least a composite can do, two fetched, added and written; and the
// scene twins' constants.
constexpr const char* floorVertexSource = R"(#version 430 core
layout(location = 0) in vec2 position; layout(location = 1) in vec2 texcoord; out vec2 uv;
void main() { uv = texcoord; gl_Position = vec4(position, 0.0, 1.0); })";
constexpr const char* oneFetchSource = R"(#version 430 core
in vec2 uv; uniform sampler2D image; layout(location = 0) out vec4 fragColor;
void main() { fragColor = textureLod(image, uv, 0.0); })";
constexpr const char* twoFetchSource = R"(#version 430 core
in vec2 uv; uniform sampler2D sceneTexture; uniform sampler2D bloomTexture; layout(location = 0) out vec4 fragColor;
void main() {
    fragColor = vec4(textureLod(sceneTexture, uv, 0.0).rgb + textureLod(bloomTexture, uv, 0.0).rgb, 1.0); })";
constexpr const char* constantFragmentSource = R"(#version 430 core
layout(location = 0) out vec4 sceneColor; layout(location = 1) out vec4 brightColor;
void main() { sceneColor = vec4(0.5, 0.5, 0.5, 1.0); brightColor = vec4(0.0, 0.0, 0.0, 1.0); })";

}  // namespace

void ConstantScene::swapIn()
{
    activeScene = this;
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    redirectTheGame(true);
    glUseProgram(static_cast<GLuint>(program));  // the program the frame left current, as its twin
}

void ConstantScene::swapOut()
{
    redirectTheGame(false);
    activeScene = nullptr;
}

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

PassGroupTimes timePassGroups(const std::function<void(FrameObserver*)>& runFrame, ConstantScene* constantScene,
                              int frames)
{
    PassGroupTimes times;
    PassTimer timer(constantScene, times);
    for (int i = 0; i < frames; ++i)
        runFrame(&timer);
    return times;
}

std::array<PassSeries, 2> timeFloorPasses(const RenderTargets& targets, int repetitions)
{
    const ProgramHandle oneFetch = buildProgram({floorVertexSource, oneFetchSource, true}).program;
    const ProgramHandle twoFetch = buildProgram({floorVertexSource, twoFetchSource, true}).program;
    if (!oneFetch || !twoFetch)
        return {};
    glUseProgram(twoFetch.get());
    glUniform1i(glGetUniformLocation(twoFetch.get(), "sceneTexture"), 0);
    glUniform1i(glGetUniformLocation(twoFetch.get(), "bloomTexture"), 1);
    FullscreenQuad quad;
    PassGroupTimes one, two;  // each floor pass timed alone, as the scene pass of a frame of its own
    PassTimer oneTimer(nullptr, one), twoTimer(nullptr, two);
    for (int round = -1; round < repetitions; ++round) {
        oneTimer.passBegins(FramePass::scene);
        glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFramebuffer(1));
        glViewport(0, 0, targets.bloomWidth(), targets.bloomHeight());
        glUseProgram(oneFetch.get());
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, targets.brightColorTexture());
        quad.draw();
        oneTimer.passEnds(FramePass::scene);
        twoTimer.passBegins(FramePass::scene);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, targets.width(), targets.height());
        glUseProgram(twoFetch.get());
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, targets.sceneColorTexture());
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, targets.pingpongTexture(0));
        quad.draw();
        glActiveTexture(GL_TEXTURE0);
        twoTimer.passEnds(FramePass::scene);
    }
    glBindVertexArray(0);
    for (PassSeries* series : {&one[0], &two[0]}) {  // less the first round, which compiled what each pass needs
        series->query.erase(series->query.begin());
        series->wall.erase(series->wall.begin());
    }
    return {one[0], two[0]};
}
