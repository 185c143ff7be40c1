// One measuring process at one size, spawned fresh so its start-up is a real one; its results go to standard output,
// its log. Frames mode: start-up phases, frame times, each pass group timed alone against its floor, per-frame
// counts. Loaders mode: the window, then the level's loaders timed while all is cold. Callgrind mode: steady frames,
// instrumented. The table's notes tell how each figure is measured.
#include "bench.h"

#include "allocation_counter.h"
#include "gl_calls.h"
#include "app/frame.h"
#include "app/render_quality.h"
#include "app/startup.h"
#include "audio/game_sound.h"
#include "framework/asset_path.h"
#include "framework/texture.h"
#include "game/camera_settings.h"
#include "game/power.h"
#include "scene/level.h"
#include "scene/level_meshes.h"

#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>
#include <valgrind/callgrind.h>

#include <array>
#include <iomanip>
#include <iostream>
#include <type_traits>
#include <unordered_map>

namespace {

// One result line, flushed: a process that dies later still leaves what it measured.
template <typename Value>
void put(const std::string& key, const Value& value)
{
    std::cout << resultLinePrefix << key << ' ' << std::fixed << std::setprecision(6) << value << std::endl;
}

void putSeries(const std::string& key, const std::vector<double>& values)
{
    put(key + ".median", median(values));
    put(key + ".p95", percentile(values, 0.95));
}

// Swallows the game's event lines, counting their characters, allocating nothing.
struct CountingSink : std::streambuf {
    long long characters = 0;
    int overflow(int character) override
    {
        characters += character != traits_type::eof() ? 1 : 0;
        return traits_type::not_eof(character);
    }
};

// Frame `index` (0 for the first after start-up) of the fixed route, as the game loop runs it: the fairy circles
// inside the well and slowly climbs. With the simulation's start in runMeasurement, the bench's only use of the
// game's frame API.
// With `picture`, the finished frame's RGB rows are read into it before the swap.
void runRouteFrame(App& app, int index, std::ostream& console, FrameObserver* observer,
                   std::vector<unsigned char>* picture = nullptr)
{
    constexpr float frameTime = 1.0f / 60.0f;
    constexpr double turnRate = 1.2;       // radians per second: a circle of about 2 units inside the well
    constexpr double nodPeriod = 8.0;      // seconds
    constexpr double nodAmplitude = 0.25;  // radians of pitch at the top of a nod
    glfwPollEvents();
    FrameInput input;
    glfwGetFramebufferSize(app.window, &input.framebufferWidth, &input.framebufferHeight);
    app.simulation.state.fairyPower = app.simulation.course.fullPower;  // the route never ends: the fairy never falls
    const double seconds = (index + 1) * static_cast<double>(frameTime);
    const double nod = std::sin(3.14159265358979 * seconds / nodPeriod);
    input.clock = static_cast<float>(index + 1) * frameTime;
    input.keys.forward = true;
    // Mouse look: yaw -= dx * sensitivity, pitch += (lastY - y) * sensitivity.
    const double sensitivity = CameraSettings{}.mouseSensitivity;
    input.cursor.x = app.startCursor.x - turnRate * seconds / sensitivity;
    input.cursor.y = app.startCursor.y - nodAmplitude * nod * nod / sensitivity;
    runFrame(app, input, console, observer);
    if (picture) {
        picture->resize(static_cast<std::size_t>(input.framebufferWidth) * input.framebufferHeight * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, input.framebufferWidth, input.framebufferHeight, GL_RGB, GL_UNSIGNED_BYTE, picture->data());
    }
    glfwSwapBuffers(app.window);
}

// How far one picture lies from another: the mean absolute difference per channel (0..255), and the share of
// pixels with a channel more than `visible` apart.
struct PictureDistance {
    static constexpr int visible = 16;
    double sumAbsolute = 0.0, differingPixels = 0.0, pixels = 0.0;
    void add(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
    {
        for (std::size_t i = 0; i + 2 < std::min(a.size(), b.size()); i += 3) {
            int largest = 0;
            for (std::size_t c = i; c < i + 3; ++c) {
                const int difference = std::abs(a[c] - b[c]);
                sumAbsolute += difference;
                largest = std::max(largest, difference);
            }
            differingPixels += largest > visible ? 1.0 : 0.0;
            pixels += 1.0;
        }
    }
};

// The renderer settings quality = auto picks for this renderer and size when the player chose nothing.
RendererSettings automaticQuality(const RendererSettings& full, FrameSize size)
{
    RendererSettings asked = full;
    asked.quality = RenderQuality::automatic;
    const GLubyte* renderer = glGetString(GL_RENDERER);
    return chooseRenderQuality(renderer ? reinterpret_cast<const char*>(renderer) : "", size.width, size.height,
                               asked, {})
        .settings;
}

// The scene's floor: its own draws, each with a twin program that keeps the original's vertex stage (so every
// triangle covers the same pixels) and writes constants to both scene targets. While redirected, GLEW's glUseProgram
// and uniform setters go to the twins, each uniform location translated by name.
struct ConstantScene {
    struct Twin {
        ProgramHandle program;
        std::unordered_map<GLint, GLint> locations;  // the original's to the twin's
    };
    std::map<GLuint, std::string> vertexSources;  // of the programs the level links, by name
    std::map<GLuint, Twin> twins;                 // by the original program
    const Twin* current = nullptr;
};
ConstantScene* activeScene = nullptr;  // the one the hooks serve

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
        activeScene->vertexSources[program] = source;
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

// The game's programs draw as the scene's twins; back with none.
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
constexpr auto redirectToTwins = redirect<&__glewUniform1i, &__glewUniform1f, &__glewUniform2f, &__glewUniform3f,
                                          &__glewUniform4f, &__glewUniformMatrix3fv, &__glewUniformMatrix4fv>;

constexpr const char* constantFragmentSource = R"(#version 430 core
layout(location = 0) out vec4 sceneColor; layout(location = 1) out vec4 brightColor;
void main() { sceneColor = vec4(0.5, 0.5, 0.5, 1.0); brightColor = vec4(0.0, 0.0, 0.0, 1.0); })";

// False when a twin does not build.
bool makeTwins(ConstantScene& scene)
{
    for (const auto& [original, vertexSource] : scene.vertexSources) {
        ConstantScene::Twin& twin = scene.twins[original];
        twin.program = buildProgram({vertexSource, constantFragmentSource, true}).program;
        if (!twin.program)
            return false;
        GLint count = 0;
        glGetProgramInterfaceiv(original, GL_UNIFORM, GL_ACTIVE_RESOURCES, &count);
        for (GLint i = 0; i < count; ++i) {
            char name[256];
            glGetProgramResourceName(original, GL_UNIFORM, static_cast<GLuint>(i), sizeof name, nullptr, name);
            if (const GLint from = glGetUniformLocation(original, name); from != -1)
                twin.locations[from] = glGetUniformLocation(twin.program.get(), name);
        }
    }
    return true;
}

struct PassSeries {
    std::vector<double> query, wall;  // ms by GL_TIME_ELAPSED, and on the wall clock to a glFinish after the pass
};
using PassGroupTimes = std::array<PassSeries, 5>;  // as FramePass lists them: scene, blur_h, blur_v, composite, hud

// Times drawFrame's passes by group (a group's times the sums of its passes) with a GL_TIME_ELAPSED query and on the
// wall clock to a glFinish after each; with a constant scene, the scene draws with its twins.
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
                redirectToTwins(constantScene_);
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
            redirectToTwins(nullptr);
    }

private:
    ConstantScene* constantScene_;
    PassGroupTimes& times_;
    GLuint query_ = 0;
    std::int64_t startNs_ = 0;
};

// The floor passes' stages: the quad's coordinates through; the least a blur pass can do, one texel fetched and
// written per pixel; the least a composite can do, two fetched, added and written.
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

// The floors a full-screen pass cannot go below at this size, over the game's quad with the state a frame leaves: a
// blur pass's into a ping-pong target, the composite's into the window.
void timeFloorPasses(const RenderTargets& targets, int repetitions)
{
    const ProgramHandle oneFetch = buildProgram({floorVertexSource, oneFetchSource, true}).program;
    const ProgramHandle twoFetch = buildProgram({floorVertexSource, twoFetchSource, true}).program;
    if (!oneFetch || !twoFetch)
        return;  // no floor: "n/a" in the table
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
    // Medians less the first round, which compiled what each pass needs.
    for (const auto& [name, series] : {std::pair{"floor.one_fetch", &one[0]}, {"floor.two_fetch", &two[0]}}) {
        put(name + std::string(".query.median"), median({series->query.begin() + 1, series->query.end()}));
        put(name + std::string(".wall.median"), median({series->wall.begin() + 1, series->wall.end()}));
    }
}

// The loaders buildLevel calls, one kind at a time, in a process that has only opened its window: each pays its
// first-use costs (the driver's JIT for mipmap and bake draws) as it does inside buildLevel.
void timeLoaders(const RenderTargets& targets)
{
    const std::pair<const char*, const char*> programs[] = {
        {"texture", "texture"}, {"lightmapGen", "lightmapGen"}, {"wellFinal", "wellFinal"}, {"ui", "ui"},
        {"bloomBlur", "bloomBlur"}, {"quad", "bloomFinal"}, {"particle", "particle"}, {"water", "water"},
        {"cloudProcedural", "cloudProcedural"}};
    // Each texture, whether the level rebuilds its mipmaps and sets its sampling, and its wrap.
    const std::tuple<const char*, bool, GLenum> textures[] = {
        {"lightblue", false, GL_REPEAT},  {"glitteryellow", false, GL_REPEAT}, {"wellwall", true, GL_REPEAT},
        {"lightpurple", true, GL_REPEAT}, {"green", true, GL_REPEAT},          {"cloud", true, GL_CLAMP_TO_EDGE}};
    glFinish();
    std::vector<std::unique_ptr<Shader>> shaders;
    put("loaders.shaders", timeMilliseconds([&] {
            for (const auto& [vertex, fragment] : programs)
                shaders.push_back(std::make_unique<Shader>(std::string("assets/shaders/") + vertex + ".vert",
                                                           std::string("assets/shaders/") + fragment + ".frag"));
        }));
    std::vector<std::unique_ptr<Texture>> loaded;
    put("loaders.textures", timeMilliseconds([&] {
            for (const auto& [name, resampled, wrap] : textures) {
                loaded.push_back(std::make_unique<Texture>(std::string("assets/textures/") + name + ".dds"));
                if (resampled)
                    loaded.back()->setSampling(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, wrap);
            }
            glFinish();
        }));
    std::vector<std::unique_ptr<Model>> models;
    put("loaders.models", timeMilliseconds([&] {
            for (const char* name : {"Wings", "flag", "cloud"})
                models.push_back(std::make_unique<Model>(std::string("assets/objects/") + name + ".obj"));
            glFinish();
        }));
    put("loaders.shader_count", shaders.size());
    put("loaders.texture_count", loaded.size());
    put("loaders.model_count", models.size());
    // The bake program and the wall mesh are made as the level makes them, untimed: programs are counted above, the
    // mesh belongs to the rest of buildLevel.
    auto bakeShader = std::make_shared<Shader>("assets/shaders/lightmapGen.vert", "assets/shaders/lightmapGen.frag");
    Geometry bakeGeometry(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 10.0f, 0.0f)), wellMeshData(20.0f, 5.0f),
                          std::make_shared<LightmapMaterial>(bakeShader));
    const SceneLights lights = makeSceneLights();
    glFinish();
    put("loaders.bake", timeMilliseconds([&] {
            Lightmap lightmap;
            lightmap.bake(*bakeShader, bakeGeometry, lights, targets.width(), targets.height());
            glFinish();
        }));
}

}  // namespace

int runMeasurement(const std::string& mode, FrameSize size, int frames, std::int64_t spawnedAtNs)
{
    const std::int64_t mainNs = nowNanoseconds();
    App app;
    // At the end the game's GL owners go but GLFW stays: terminating it would unload the GL driver before a sanitizer
    // build's leak check could recognise the driver's own blocks.
    const auto releaseGame = [](App* game) { if (game->window) releaseRendering(*game); };
    const std::unique_ptr<App, decltype(releaseGame)> release(&app, releaseGame);
    CountingSink sink;
    std::ostream console(&sink);
    int framesRun = 0;
    const auto frame = [&](FrameObserver* observer) { runRouteFrame(app, framesRun++, console, observer); };
    const auto timeFrames = [&](int warmUp, int count) {  // wall times of `count` frames, after `warmUp` more
        std::vector<double> times(static_cast<std::size_t>(count));
        for (int i = 0; i < warmUp; ++i)
            frame(nullptr);
        for (double& time : times)
            time = timeMilliseconds([&] { frame(nullptr); });
        return times;
    };

    // Start-up as main() runs it, each phase timed; a window of one sample per pixel for the "single_sample" mode.
    double window = 0.0, openWindow = 0.0;
    const int samples = mode == "single_sample" ? 0 : 4;
    const double settings = timeMilliseconds([&] { app.settings = loadSettings(CommandLineOptions{}, std::cout); });
    app.settings.window.width = size.width;  // the bench always runs windowed
    app.settings.window.height = size.height;
    app.settings.window.fullscreen = false;
    app.switches = initialSwitches(app.settings);
    window = timeMilliseconds([&] {
        openWindow = timeMilliseconds([&] { openMainWindow(app, samples); });
        prepareRendering(app);
    });
    if (mode == "loaders") {
        timeLoaders(app.renderTargets);
        return 0;
    }
    ConstantScene constantScene;
    activeScene = &constantScene;
    const double buildLevelMs = timeMilliseconds([&] {
        install<&__glewLinkProgram>(linkProgramHook);  // catches the vertex stages for the twins
        app.level = buildLevel(app.course, app.renderTargets.width(), app.renderTargets.height());
        uninstall<&__glewLinkProgram>();
    });
    const double afterBuild = timeMilliseconds([&] {
        settleCapturedCursor(app);
        app.simulation = makeSimulation(app.settings.camera, app.startCursor, app.course);
        app.lastFrameTime = 0.0f;
    });
    std::optional<GameSound> sound;
    const double audio = timeMilliseconds([&] { sound = GameSound::open(app.settings.audio, findAssetPath, std::cout); });
    const double firstFrame = timeMilliseconds([&] { frame(nullptr); });
    const std::int64_t firstShownNs = nowNanoseconds();
    const double secondFrame = timeMilliseconds([&] { frame(nullptr); });
    frames = std::max(frames, 1);
    const int warmUp = std::min(warmUpFrames, frames), passFrames = std::min(60, frames);
    // Full and auto quality, each a target set of its own swapped in; auto's made only once full's frames are timed.
    RenderTargets autoTargets;
    const RendererSettings automatic = automaticQuality(app.settings.renderer, size);
    const auto useAutoTargets = [&] {
        if (autoTargets.sceneFramebuffer() == 0)
            autoTargets.create(app.renderTargets.width(), app.renderTargets.height(), automatic.bloom_resolution,
                               automatic.render_scale);
        std::swap(app.renderTargets, autoTargets);
    };
    const auto timeAutomatic = [&](const std::string& key) {
        useAutoTargets();
        putSeries(key, timeFrames(warmUp, passFrames));
        std::swap(app.renderTargets, autoTargets);
    };
    if (mode == "single_sample") {  // what the window's four samples cost: the frames again without them
        putSeries("single_sample.frames", timeFrames(warmUp, passFrames));
        timeAutomatic("single_sample.auto");
        return 0;
    }
    for (const auto& [name, key] : {std::pair{GL_RENDERER, "renderer"}, {GL_VERSION, "gl.version"}})
        put(key, std::string(glGetString(name) ? reinterpret_cast<const char*>(glGetString(name)) : "?"));
    if (mode == "callgrind") {
        for (int i = 0; i < 10; ++i)
            frame(nullptr);
        glFinish();
        CALLGRIND_START_INSTRUMENTATION;
        for (int i = 0; i < frames; ++i)
            frame(nullptr);
        CALLGRIND_STOP_INSTRUMENTATION;
        return 0;
    }
    for (const auto& [phase, milliseconds] :
         {std::pair{"process_to_main", millisecondsBetween(spawnedAtNs, mainNs)}, {"settings", settings},
          {"window", window}, {"open_window", openWindow}, {"build_level", buildLevelMs}, {"after_build", afterBuild},
          {"audio", audio}, {"first_frame", firstFrame}, {"second_frame", secondFrame},
          {"total", millisecondsBetween(spawnedAtNs, firstShownNs)}})
        put("startup." + std::string(phase), milliseconds);

    // Frames exactly as the loop runs them, on the wall clock.
    put("frames.count", frames);
    putSeries("frames", timeFrames(warmUp, frames));

    // Pass groups, timed in frames of their own: as the game draws them, then with the scene's constant twins for its
    // floor; as "<prefix>.<group>.query|wall.median|p95".
    const auto timePasses = [&](ConstantScene* constantScene, int count, const std::string& prefix) {
        PassGroupTimes times;
        PassTimer timer(constantScene, times);
        for (int i = 0; i < count; ++i)
            frame(&timer);
        const char* groups[] = {"scene", "blur_h", "blur_v", "composite", "hud"};
        for (std::size_t group = 0; group < times.size() && !prefix.empty(); ++group) {
            putSeries(prefix + "." + groups[group] + ".query", times[group].query);
            putSeries(prefix + "." + groups[group] + ".wall", times[group].wall);
        }
    };
    timePasses(nullptr, passFrames, "pass");
    if (!makeTwins(constantScene)) {
        std::cerr << "bench: a constant twin of the scene's programs did not build\n";
        return 1;
    }
    timePasses(&constantScene, warmUp, "");  // compiles the twins' variants
    timePasses(&constantScene, passFrames, "floor");
    put("pass.frames", passFrames);

    // What steady frames ask of the heap and of GL.
    const int countedFrames = std::min(30, frames);
    int allocations = 0;
    GlCallCounts counts;
    {
        GlCallRecorder recorder;
        AllocationCounter allocationCounter;
        for (int i = 0; i < countedFrames; ++i)
            frame(nullptr);
        allocations = allocationCounter.count();
        counts = recorder.counts();
    }
    put("count.frames", countedFrames);
    for (const auto& [key, total] :
         {std::pair{"allocations", std::int64_t{allocations}}, {"gl_objects", counts.objectsCreated},
          {"location_queries", counts.locationQueries}, {"draw_calls", counts.drawCalls},
          {"bytes_uploaded", counts.bytesUploaded}})
        put("count." + std::string(key), static_cast<double>(total) * (1.0 / countedFrames));
    put("blend_after_frame", glIsEnabled(GL_BLEND) ? 1.0 : 0.0);
    timeFloorPasses(app.renderTargets, std::min(30, frames));

    // The whole frame again with the glow's targets at half and a quarter of the window.
    for (const auto& [bloom, key] : {std::pair{BloomResolution::half, "frames.bloom_half"},
                                     std::pair{BloomResolution::quarter, "frames.bloom_quarter"}}) {
        app.renderTargets.create(app.renderTargets.width(), app.renderTargets.height(), bloom);
        putSeries(key, timeFrames(warmUp, std::min(60, frames)));
    }
    app.renderTargets.create(app.renderTargets.width(), app.renderTargets.height());

    // quality = auto: its choice, its frames, and its pictures against full quality's of the very same frames (the
    // game's state put back between the two).
    put("auto.render_scale", automatic.render_scale);
    put("auto.bloom_divisor", static_cast<int>(automatic.bloom_resolution));
    timeAutomatic("frames.auto");
    PictureDistance distance;
    std::vector<unsigned char> fullPicture, autoPicture;
    for (int i = 0; i < std::min(10, frames); ++i) {
        for (int skipped = 0; skipped < 5; ++skipped)  // pictures half a second of route apart
            frame(nullptr);
        const Simulation simulation = app.simulation;
        const ParticlePool particles = app.particles;
        const HudMessage message = app.hudMessage;
        const double lastFrameTime = app.lastFrameTime;
        runRouteFrame(app, framesRun, console, nullptr, &fullPicture);
        app.simulation = simulation;
        app.particles = particles;
        app.hudMessage = message;
        app.lastFrameTime = lastFrameTime;
        useAutoTargets();
        runRouteFrame(app, framesRun++, console, nullptr, &autoPicture);
        std::swap(app.renderTargets, autoTargets);
        distance.add(fullPicture, autoPicture);
    }
    put("picture.frames", std::min(10, frames));
    put("picture.mean_absolute", distance.sumAbsolute / std::max(1.0, distance.pixels * 3));
    put("picture.differing_share", distance.differingPixels / std::max(1.0, distance.pixels));
    put("events_printed", sink.characters > 0 ? 1 : 0);
    return 0;
}
