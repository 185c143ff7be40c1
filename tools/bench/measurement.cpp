#include "measurement.h"

#include "bench_game.h"
#include "clock.h"
#include "constant_scene.h"
#include "floor_passes.h"
#include "loader_timing.h"
#include "results.h"
#include "stats.h"
#include "pass_timer.h"

#include "allocation_counter.h"
#include "gl_calls.h"

#include <GLFW/glfw3.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The monotonic time this process started, from the kernel's start time
// (clock ticks since boot), for runs that no parent timed.
std::int64_t processStartNs()
{
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    // Field 22; the command name (field 2) may hold blanks, so count from its closing parenthesis.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    const double startedAfterBoot = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec boot{}, monotonic{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    clock_gettime(CLOCK_MONOTONIC, &monotonic);
    const double sinceStart = static_cast<double>(boot.tv_sec) + boot.tv_nsec / 1.0e9 - startedAfterBoot;
    return static_cast<std::int64_t>((monotonic.tv_sec + monotonic.tv_nsec / 1.0e9 - sinceStart) * 1.0e9);
}

std::string glString(GLenum name)
{
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text ? text : "?";
}

void putSeries(ResultWriter& out, const std::string& key, const std::vector<double>& values)
{
    out.put(key + ".median", median(values));
    out.put(key + ".p95", percentile(values, 0.95));
}

// The loaders buildLevel calls, one kind at a time, in a process that has
// only opened its window: each pays its first-use costs (the driver's JIT
// for mipmap and bake draws) as it does inside buildLevel.
int runLoaders(const MeasurementOptions& options, ResultWriter& out)
{
    BenchGame game(options.width, options.height);
    game.openGameWindow();
    const LoaderTimes loaders = timeLoaders(game.app().renderTargets.width(), game.app().renderTargets.height());
    out.put("loaders.shaders", loaders.shaders);
    out.put("loaders.shader_count", loaders.shaderCount);
    out.put("loaders.textures", loaders.textures);
    out.put("loaders.texture_count", loaders.textureCount);
    out.put("loaders.models", loaders.models);
    out.put("loaders.model_count", loaders.modelCount);
    out.put("loaders.bake", loaders.bake);
    return 0;
}

// Wall times of `count` frames as the loop runs them, after `warmUp` more.
std::vector<double> timeFrames(BenchGame& game, int warmUp, int count)
{
    for (int i = 0; i < warmUp; ++i)
        game.frame();
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        times.push_back(timeMilliseconds([&] { game.frame(); }));
    return times;
}

// Each pass group's query and wall times over some timed frames.
struct PassGroupTimes {
    std::vector<std::vector<double>> query = std::vector<std::vector<double>>(PassTimer::maxSections);
    std::vector<std::vector<double>> wall = std::vector<std::vector<double>>(PassTimer::maxSections);
};

PassGroupTimes timePassGroups(BenchGame& game, ConstantPrograms* constantScene, int count)
{
    PassTimer timer;
    PassGroupTimes times;
    for (int i = 0; i < count; ++i) {
        game.timedFrame(timer, constantScene);
        for (int section = 0; section < PassTimer::maxSections; ++section) {
            times.query[section].push_back(timer.queryMilliseconds(section));
            times.wall[section].push_back(timer.wallMilliseconds(section));
        }
    }
    return times;
}

// As "<prefix>.<group>.query|wall.median|p95".
void putPassGroups(ResultWriter& out, const std::string& prefix, const PassGroupTimes& times)
{
    const char* names[] = {"scene", "blur_h", "blur_v", "composite", "hud"};
    for (int section = 0; section < PassTimer::maxSections; ++section) {
        putSeries(out, prefix + "." + names[section] + ".query", times.query[section]);
        putSeries(out, prefix + "." + names[section] + ".wall", times.wall[section]);
    }
}

int runCallgrindFrames(const MeasurementOptions& options, BenchGame& game, ResultWriter& out)
{
    for (int i = 0; i < 10; ++i)
        game.frame();
    glFinish();
    CALLGRIND_START_INSTRUMENTATION;
    for (int i = 0; i < options.callgrindFrames; ++i)
        game.frame();
    CALLGRIND_STOP_INSTRUMENTATION;
    out.put("callgrind.frames", options.callgrindFrames);
    return 0;
}

}  // namespace

int runMeasurement(const MeasurementOptions& options)
{
    const std::int64_t mainNs = nowNanoseconds();
    const std::int64_t startNs = options.spawnedAtNs != 0 ? options.spawnedAtNs : processStartNs();
    ResultWriter out(options.resultsPath);
    if (!out.isOpen()) {
        std::cerr << "bench: cannot write " << options.resultsPath << '\n';
        return 1;
    }

    if (options.loadersOnly)
        return runLoaders(options, out);

    BenchGame game(options.width, options.height);
    const StartupTimes startup = game.start();
    const std::string size = std::to_string(options.width) + "x" + std::to_string(options.height);
    out.put("size", size);
    out.put("renderer", glString(GL_RENDERER));
    out.put("gl.version", glString(GL_VERSION));
    if (options.callgrindFrames > 0)
        return runCallgrindFrames(options, game, out);

    out.put("startup.process_to_main", millisecondsBetween(startNs, mainNs));
    out.put("startup.settings", startup.settings);
    out.put("startup.window", startup.window);
    out.put("startup.open_window", startup.openWindow);
    out.put("startup.build_level", startup.buildLevel);
    out.put("startup.after_build", startup.afterBuild);
    out.put("startup.first_frame", startup.firstFrame);
    out.put("startup.second_frame", startup.secondFrame);
    out.put("startup.total", millisecondsBetween(startNs, startup.firstFrameShownNs));

    // Frames exactly as the loop runs them, on the wall clock.
    const int frames = std::max(options.frames, 1);
    out.put("frames.count", frames);
    putSeries(out, "frames", timeFrames(game, std::min(warmUpFrames, frames), frames));

    // Pass groups, timed in frames of their own: as the game draws them, then
    // with the scene's constant programs for its floor.
    const int passFrames = std::min(60, frames);
    putPassGroups(out, "pass", timePassGroups(game, nullptr, passFrames));
    ConstantPrograms constantScene(game.programSources());
    if (!constantScene.ready()) {
        std::cerr << "bench: a constant twin of the scene's programs did not build\n";
        return 1;
    }
    timePassGroups(game, &constantScene, std::min(warmUpFrames, frames));  // compiles the twins' variants
    putPassGroups(out, "floor", timePassGroups(game, &constantScene, passFrames));
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
    const double perFrame = 1.0 / countedFrames;
    out.put("count.frames", countedFrames);
    out.put("count.allocations", allocations * perFrame);
    out.put("count.gl_objects", static_cast<double>(counts.objectsCreated) * perFrame);
    out.put("count.location_queries", static_cast<double>(counts.locationQueries) * perFrame);
    out.put("count.draw_calls", static_cast<double>(counts.drawCalls) * perFrame);
    out.put("count.bytes_uploaded", static_cast<double>(counts.bytesUploaded) * perFrame);
    out.put("blend_after_frame", glIsEnabled(GL_BLEND) ? 1.0 : 0.0);

    const FloorTimes floor = timeFloorPasses(game.app().renderTargets, std::min(30, frames));
    out.put("floor.one_fetch.query", floor.oneFetchQuery);
    out.put("floor.one_fetch.wall", floor.oneFetchWall);
    out.put("floor.two_fetch.query", floor.twoFetchQuery);
    out.put("floor.two_fetch.wall", floor.twoFetchWall);

    // The whole frame again with the glow's targets at half and a quarter of the window.
    App& app = game.app();
    for (const auto& [bloom, key] : {std::pair{BloomResolution::half, "frames.bloom_half"},
                                     std::pair{BloomResolution::quarter, "frames.bloom_quarter"}}) {
        app.renderTargets.create(app.renderTargets.width(), app.renderTargets.height(), bloom);
        putSeries(out, key, timeFrames(game, std::min(warmUpFrames, frames), std::min(60, frames)));
    }

    out.put("event_bytes", static_cast<double>(game.eventBytes()));
    out.put("frames.total_run", game.framesRun());
    out.put("done", 1.0);
    return 0;
}
