// One measuring process at one size, spawned fresh so its start-up is a real
// one. Frames mode: start-up phases, frame times, each pass group timed alone
// against its floor, per-frame counts. Loaders mode: only the window, then the
// level's loaders timed while all is cold. Callgrind mode: a few steady frames
// with instrumentation on.
#include "bench.h"

#include "allocation_counter.h"
#include "gl_calls.h"

#include "app/frame.h"
#include "app/startup.h"
#include "framework/geometry.h"
#include "framework/model.h"
#include "framework/texture.h"
#include "game/camera_settings.h"
#include "game/power.h"
#include "scene/level_meshes.h"
#include "scene/scene_materials.h"

#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

#include <cmath>
#include <memory>
#include <cstdio>
#include <iostream>

namespace {

// Result lines among the log's, each flushed: a process that dies later still leaves what it measured.
struct ResultLines {
    void put(const std::string& key, const std::string& text) { std::cout << resultLinePrefix << key << ' ' << text << std::endl; }
    void put(const std::string& key, double value)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%.6f", value);
        put(key, std::string(text));
    }
    void putSeries(const std::string& key, const std::vector<double>& values)
    {
        put(key + ".median", median(values));
        put(key + ".p95", percentile(values, 0.95));
    }
    // As "<prefix>.<group>.query|wall.median|p95".
    void putPassGroups(const std::string& prefix, const PassGroupTimes& times)
    {
        const char* names[passGroups] = {"scene", "blur_h", "blur_v", "composite", "hud"};
        for (int group = 0; group < passGroups; ++group) {
            putSeries(prefix + "." + names[group] + ".query", times[group].query);
            putSeries(prefix + "." + names[group] + ".wall", times[group].wall);
        }
    }
};

// Swallows the game's event lines and counts their bytes, allocating nothing.
class CountingSink : public std::streambuf {
public:
    long long bytes = 0;

protected:
    int overflow(int character) override
    {
        bytes += character != traits_type::eof() ? 1 : 0;
        return traits_type::not_eof(character);
    }
    std::streamsize xsputn(const char*, std::streamsize count) override
    {
        bytes += count;
        return count;
    }
};

// Frame `index` (0 for the first after start-up) of the fixed route, run as
// the game loop runs it: follow camera, W held, the view turning steadily
// while it nods, so the fairy circles inside the well and slowly climbs, the
// clock advancing 1/60 s a frame. With Game::start's simulation, the bench's
// only use of the game's frame API.
void runRouteFrame(App& app, int index, std::ostream& console, FrameObserver* observer)
{
    constexpr float frameTime = 1.0f / 60.0f;
    constexpr double turnRate = 1.2;       // radians per second: a circle of about 2 units inside the well
    constexpr double nodPeriod = 8.0;      // seconds
    constexpr double nodAmplitude = 0.25;  // radians of pitch at the top of a nod
    glfwPollEvents();
    FrameInput input;
    glfwGetFramebufferSize(app.window, &input.framebufferWidth, &input.framebufferHeight);
    app.simulation.state.fairyPower = maxFairyPower;  // the route never ends: the fairy never falls
    const double seconds = (index + 1) * static_cast<double>(frameTime);
    const double nod = std::sin(3.14159265358979 * seconds / nodPeriod);
    input.clock = static_cast<float>(index + 1) * frameTime;
    input.keys.forward = true;
    // Mouse look: yaw -= dx * sensitivity, pitch += (lastY - y) * sensitivity.
    const double sensitivity = CameraSettings{}.mouseSensitivity;
    input.cursor.x = app.startCursor.x - turnRate * seconds / sensitivity;
    input.cursor.y = app.startCursor.y - nodAmplitude * nod * nod / sensitivity;
    runFrame(app, input, console, observer);
    glfwSwapBuffers(app.window);
}

// Milliseconds of each start-up phase, in the order main() runs them.
struct StartupTimes {
    double settings = 0, window = 0, openWindow = 0, buildLevel = 0, afterBuild = 0, firstFrame = 0, secondFrame = 0;
    std::int64_t firstFrameShownNs = 0;
};

// The game brought up the way main() brings it up, then run along the route.
class Game {
public:
    // No glfwTerminate: the process ends next, and terminating would unload the GL
    // driver before a sanitizer build's leak check could recognise the driver's own blocks.
    ~Game()
    {
        if (app.window)
            releaseRendering(app);
    }

    // Settings and window at `size`, then unless `windowOnly` the level and the first two frames on screen.
    StartupTimes start(FrameSize size, bool windowOnly)
    {
        StartupTimes times;
        times.settings = timeMilliseconds([&] { app.settings = loadSettings(CommandLineOptions{}, std::cout); });
        app.settings.window.width = size.width;  // the bench always runs windowed
        app.settings.window.height = size.height;
        app.settings.window.fullscreen = false;
        app.switches = initialSwitches(app.settings);
        times.window = timeMilliseconds([&] {
            times.openWindow = timeMilliseconds([&] { openMainWindow(app); });
            prepareRendering(app);
        });
        if (windowOnly)
            return times;
        times.buildLevel = timeMilliseconds([&] {
            sources = catchVertexSources(
                [&] { app.level = buildLevel(app.renderTargets.width(), app.renderTargets.height()); });
        });
        times.afterBuild = timeMilliseconds([&] {
            settleCapturedCursor(app);
            app.simulation = makeSimulation(app.settings.camera, app.startCursor);
            app.lastFrameTime = 0.0f;
        });
        times.firstFrame = timeMilliseconds([&] { frame(); });
        times.firstFrameShownNs = nowNanoseconds();
        times.secondFrame = timeMilliseconds([&] { frame(); });
        return times;
    }
    void frame(FrameObserver* observer = nullptr) { runRouteFrame(app, framesRun_++, console_, observer); }
    // Wall times of `count` frames, after `warmUp` more.
    std::vector<double> timeFrames(int warmUp, int count)
    {
        for (int i = 0; i < warmUp; ++i)
            frame();
        std::vector<double> times;
        times.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            times.push_back(timeMilliseconds([&] { frame(); }));
        return times;
    }
    PassGroupTimes timePasses(ConstantScene* constantScene, int frames)
    {
        return timePassGroups([&](FrameObserver* observer) { frame(observer); }, constantScene, frames);
    }
    long long eventBytes() const { return sink_.bytes; }

    App app;
    VertexSources sources;  // the vertex stage of each program the level built

private:
    CountingSink sink_;
    std::ostream console_{&sink_};
    int framesRun_ = 0;
};

// The loaders buildLevel calls, one kind at a time, in a process that has only
// opened its window: each pays its first-use costs (the driver's JIT for
// mipmap and bake draws) as it does inside buildLevel.
void timeLoaders(const RenderTargets& targets, ResultLines& out)
{
    const std::pair<const char*, const char*> programs[] = {
        {"assets/shaders/texture.vert", "assets/shaders/texture.frag"},
        {"assets/shaders/lightmapGen.vert", "assets/shaders/lightmapGen.frag"},
        {"assets/shaders/wellFinal.vert", "assets/shaders/wellFinal.frag"},
        {"assets/shaders/ui.vert", "assets/shaders/ui.frag"},
        {"assets/shaders/bloomBlur.vert", "assets/shaders/bloomBlur.frag"},
        {"assets/shaders/quad.vert", "assets/shaders/bloomFinal.frag"},
        {"assets/shaders/particle.vert", "assets/shaders/particle.frag"},
        {"assets/shaders/water.vert", "assets/shaders/water.frag"},
        {"assets/shaders/cloudProcedural.vert", "assets/shaders/cloudProcedural.frag"}};
    // Each texture, whether the level rebuilds its mipmaps and sets its sampling, and its wrap.
    const std::tuple<const char*, bool, GLenum> textures[] = {
        {"assets/textures/lightblue.dds", false, GL_REPEAT}, {"assets/textures/glitteryellow.dds", false, GL_REPEAT},
        {"assets/textures/wellwall.dds", true, GL_REPEAT},   {"assets/textures/lightpurple.dds", true, GL_REPEAT},
        {"assets/textures/green.dds", true, GL_REPEAT},      {"assets/textures/cloud.dds", true, GL_CLAMP_TO_EDGE}};
    const char* const models[] = {"assets/objects/Wings.obj", "assets/objects/flag.obj", "assets/objects/cloud.obj"};
    glFinish();
    std::vector<std::unique_ptr<Shader>> shaders;
    const double shadersMs = timeMilliseconds([&] {
        for (const auto& [vertex, fragment] : programs)
            shaders.push_back(std::make_unique<Shader>(vertex, fragment));
    });
    std::vector<std::unique_ptr<Texture>> loadedTextures;
    const double texturesMs = timeMilliseconds([&] {
        for (const auto& [path, resampled, wrap] : textures) {
            loadedTextures.push_back(std::make_unique<Texture>(path));
            if (resampled)
                loadedTextures.back()->setSampling(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, wrap);
        }
        glFinish();
    });
    std::vector<std::unique_ptr<Model>> loadedModels;
    const double modelsMs = timeMilliseconds([&] {
        for (const char* path : models)
            loadedModels.push_back(std::make_unique<Model>(path));
        glFinish();
    });
    // The bake program and the wall mesh are made as the level makes them, untimed:
    // programs are counted above, the mesh belongs to the rest of buildLevel.
    auto bakeShader = std::make_shared<Shader>("assets/shaders/lightmapGen.vert", "assets/shaders/lightmapGen.frag");
    Geometry bakeGeometry(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 10.0f, 0.0f)), wellMeshData(),
                          std::make_shared<LightmapMaterial>(bakeShader));
    const SceneLights lights = makeSceneLights();
    glFinish();
    const double bakeMs = timeMilliseconds([&] {
        Lightmap lightmap;
        lightmap.bake(*bakeShader, bakeGeometry, lights, targets.width(), targets.height());
        glFinish();
    });
    for (const auto& [key, value] : {std::pair{"shaders", shadersMs}, {"shader_count", double(shaders.size())},
                                     {"textures", texturesMs}, {"texture_count", double(loadedTextures.size())},
                                     {"models", modelsMs}, {"model_count", double(loadedModels.size())},
                                     {"bake", bakeMs}})
        out.put("loaders." + std::string(key), value);
}

std::string glString(GLenum name)
{
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text ? text : "?";
}

}  // namespace

int runMeasurement(const MeasureRequest& request)
{
    const std::int64_t mainNs = nowNanoseconds();
    ResultLines out;
    Game game;
    if (request.mode == "loaders") {
        game.start(request.size, true);
        timeLoaders(game.app.renderTargets, out);
        return 0;
    }
    const StartupTimes startup = game.start(request.size, false);
    out.put("renderer", glString(GL_RENDERER));
    out.put("gl.version", glString(GL_VERSION));
    if (request.mode == "callgrind") {
        for (int i = 0; i < 10; ++i)
            game.frame();
        glFinish();
        CALLGRIND_START_INSTRUMENTATION;
        for (int i = 0; i < request.frames; ++i)
            game.frame();
        CALLGRIND_STOP_INSTRUMENTATION;
        return 0;
    }
    for (const auto& [phase, milliseconds] :
         {std::pair{"process_to_main", millisecondsBetween(request.spawnedAtNs, mainNs)},
          {"settings", startup.settings}, {"window", startup.window}, {"open_window", startup.openWindow},
          {"build_level", startup.buildLevel}, {"after_build", startup.afterBuild},
          {"first_frame", startup.firstFrame}, {"second_frame", startup.secondFrame},
          {"total", millisecondsBetween(request.spawnedAtNs, startup.firstFrameShownNs)}})
        out.put("startup." + std::string(phase), milliseconds);

    // Frames exactly as the loop runs them, on the wall clock.
    const int frames = std::max(request.frames, 1);
    const int warmUp = std::min(warmUpFrames, frames);
    out.put("frames.count", frames);
    out.putSeries("frames", game.timeFrames(warmUp, frames));

    // Pass groups, timed in frames of their own: as the game draws them, then
    // with the scene's constant twins for its floor.
    const int passFrames = std::min(60, frames);
    out.putPassGroups("pass", game.timePasses(nullptr, passFrames));
    const std::shared_ptr<ConstantScene> constantScene = makeConstantScene(game.sources);
    if (!constantScene) {
        std::cerr << "bench: a constant twin of the scene's programs did not build\n";
        return 1;
    }
    game.timePasses(constantScene.get(), warmUp);  // compiles the twins' variants
    out.putPassGroups("floor", game.timePasses(constantScene.get(), passFrames));
    out.put("pass.frames", passFrames);

    // What steady frames ask of the heap and of GL.
    const int countedFrames = std::min(30, frames);
    int allocations = 0;
    GlCallCounts counts;
    {
        GlCallRecorder recorder;
        AllocationCounter allocationCounter;
        for (int i = 0; i < countedFrames; ++i)
            game.frame();
        allocations = allocationCounter.count();
        counts = recorder.counts();
    }
    out.put("count.frames", countedFrames);
    for (const auto& [key, total] : {std::pair{"allocations", std::int64_t{allocations}},
                                     {"gl_objects", counts.objectsCreated}, {"location_queries", counts.locationQueries},
                                     {"draw_calls", counts.drawCalls}, {"bytes_uploaded", counts.bytesUploaded}})
        out.put("count." + std::string(key), static_cast<double>(total) * (1.0 / countedFrames));
    out.put("blend_after_frame", glIsEnabled(GL_BLEND) ? 1.0 : 0.0);

    const std::array<PassSeries, 2> floors = timeFloorPasses(game.app.renderTargets, std::min(30, frames));
    for (const auto& [name, series] : {std::pair{"floor.one_fetch", &floors[0]}, {"floor.two_fetch", &floors[1]}}) {
        if (!series->wall.empty()) {  // else no floor: "n/a" in the table
            out.put(name + std::string(".query"), median(series->query));
            out.put(name + std::string(".wall"), median(series->wall));
        }
    }

    // The whole frame again with the glow's targets at half and a quarter of the window.
    RenderTargets& targets = game.app.renderTargets;
    for (const auto& [bloom, key] : {std::pair{BloomResolution::half, "frames.bloom_half"},
                                     std::pair{BloomResolution::quarter, "frames.bloom_quarter"}}) {
        targets.create(targets.width(), targets.height(), bloom);
        out.putSeries(key, game.timeFrames(warmUp, std::min(60, frames)));
    }
    out.put("event_bytes", static_cast<double>(game.eventBytes()));
    return 0;
}
