// The one table the bench prints: start-up, frame times, pass times against their floors, per-frame counts and
// instructions, one column per size, with the targets beside them and notes on how each was measured.
#include "bench.h"

#include "scene/bloom.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr std::size_t labelWidth = 56, columnWidth = 17;
using Figure = std::function<double(const Results&)>;
using Cell = std::function<std::string(const Results&)>;

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return std::isnan(value) ? "n/a" : text;
}

// Rounded to a whole number, with thousands separators.
std::string grouped(double value)
{
    if (std::isnan(value))
        return "n/a";
    std::string digits = std::to_string(std::llabs(std::llround(value)));
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return (std::llround(value) < 0 ? "-" : "") + digits;
}

// A per-frame count: whole numbers as such, fractions with one decimal.
std::string count(double value)
{
    return std::fabs(value - std::round(value)) < 1e-9 ? grouped(value) : fixed(value, 1);
}

std::string padded(const std::string& text, std::size_t width)
{
    return text + std::string(width > text.size() ? width - text.size() : 1, ' ');
}

Figure key(const std::string& name, double divisor = 1.0)
{
    return [name, divisor](const Results& r) { return r.number(name) / divisor; };
}

Cell decimals(const Figure& figure, int places)
{
    return [figure, places](const Results& r) { return fixed(figure(r), places); };
}

bool fileStartsWithAny(const std::string& object, std::initializer_list<const char*> prefixes)
{
    const std::string name = object.substr(object.rfind('/') + 1);
    return std::any_of(prefixes.begin(), prefixes.end(), [&](const char* start) { return name.rfind(start, 0) == 0; });
}

// Lines without trailing blanks; a row has a label, a cell per size and a target.
class Table {
public:
    explicit Table(const std::vector<SizeRun>& runs) : runs_(runs) {}
    void line(std::string text) { out_ += text.erase(text.find_last_not_of(' ') + 1) + '\n'; }
    void heading(const std::string& text) { line("\n" + text); }
    void row(const std::string& label, const Cell& cell, const std::string& target = "")
    {
        std::string text = padded("  " + label, labelWidth);
        for (const SizeRun& run : runs_)
            text += padded(cell ? cell(run.results) : run.size.text(), columnWidth);
        line(text + target);
    }
    const std::string& text() const { return out_; }

private:
    const std::vector<SizeRun>& runs_;
    std::string out_;
};

void passRows(Table& table, const std::vector<SizeRun>& runs)
{
    // A pass's time and its ratio to its floor; "<= 1.8x: met", or "MISSED" when a column's ratio is above.
    const auto ratioRow = [&](const std::string& label, const Figure& value, const Figure& floor, double limit) {
        const auto ratio = [&](const Results& r) { return value(r) / floor(r); };
        bool met = true;
        for (const SizeRun& run : runs)
            met = met && ratio(run.results) <= limit;
        table.row(label, [&](const Results& r) { return fixed(value(r), 2) + " = " + fixed(ratio(r), 2) + "x"; },
                  limit > 0.0 ? "<= " + fixed(limit, 1) + "x: " + (met ? "met" : "MISSED") : "");
    };
    const Figure floorSum = [](const Results& r) {
        return r.number("floor.scene.wall.median") + Bloom::blurIterations * r.number("floor.one_fetch.wall.median") +
               r.number("floor.two_fetch.wall.median");
    };
    const Figure oneFetch = key("floor.one_fetch.wall.median");
    ratioRow("scene, steps 0-9", key("pass.scene.wall.median"), key("floor.scene.wall.median"), 0.0);
    table.row("  floor: the same draws, constant shader", decimals(key("floor.scene.wall.median"), 2));
    ratioRow("blur pass along x (mean of 5)", key("pass.blur_h.wall.median", Bloom::blurIterations / 2), oneFetch, 1.8);
    ratioRow("blur pass along y (mean of 5)", key("pass.blur_v.wall.median", Bloom::blurIterations / 2), oneFetch, 1.8);
    table.row("  floor: one RGBA16F fetch per pixel", decimals(oneFetch, 2));
    ratioRow("composite", key("pass.composite.wall.median"), key("floor.two_fetch.wall.median"), 1.5);
    table.row("  floor: two fetches per pixel", decimals(key("floor.two_fetch.wall.median"), 2));
    table.row("HUD (no floor)", decimals(key("pass.hud.wall.median"), 2));
    ratioRow("whole frame (median frame time)", key("frames.median"), floorSum, 1.6);
    table.row("  sum of floors (scene + 10 one-fetch + two-fetch)", decimals(floorSum, 2));

    // The GL timer beside the wall: a reading under a tenth of the wall time missed the work and is no figure.
    table.heading("GL timer (GL_TIME_ELAPSED) of the same passes, ms: a reading under a tenth of the wall failed");
    for (const auto& [label, group] :
         {std::pair{"scene", "pass.scene"}, {"scene floor", "floor.scene"}, {"blur passes along x (5)", "pass.blur_h"},
          {"blur passes along y (5)", "pass.blur_v"}, {"composite", "pass.composite"}, {"HUD", "pass.hud"},
          {"one-fetch floor", "floor.one_fetch"}, {"two-fetch floor", "floor.two_fetch"}})
        table.row(label, [group = std::string(group)](const Results& r) {
            const double reading = r.number(group + ".query.median");
            return reading >= r.number(group + ".wall.median") / 10.0 ? fixed(reading, 2)
                                                                      : "failed (" + fixed(reading, 2) + ")";
        });
}

// "ns::Class<args>::function(params) const" as "ns::Class<>::function", at most 40 characters.
std::string shortFunctionName(const std::string& name)
{
    std::string shorter;
    int depth = 0;
    for (const char c : name) {
        if (c == '(' && depth == 0 && !shorter.empty())
            break;
        if (c == '<' && depth++ == 0)
            shorter += '<';
        else if (c == '>' && --depth == 0)
            shorter += '>';
        else if (depth == 0)
            shorter += c;
    }
    return shorter.size() > 40 ? shorter.substr(0, 37) + "..." : shorter;
}

void instructionRows(Table& table, const CallgrindRun& run)
{
    table.heading("Instructions per steady frame (callgrind, " + std::to_string(callgrindFrames) + " frames at " +
                  callgrindSize.text() + ", exclusive by object file)");
    if (!run.skippedBecause.empty())
        return table.line("  not measured: " + run.skippedBecause);
    const auto isRuntime = [](const std::string& object) {
        return fileStartsWithAny(object, {"libc.so", "libc-", "libstdc++", "libm.so", "libm-", "libgcc_s", "ld-linux",
                                          "libpthread", "libdl"});
    };
    double ours = 0, runtime = 0, windowSystem = 0, jit = 0, driver = 0, runtimeFromOurs = 0;
    for (const auto& [object, cost] : run.split.byObject)
        (object == run.ourObject ? ours
         : object == "???"       ? jit
         : isRuntime(object)     ? runtime
         : fileStartsWithAny(object, {"libglfw", "libX", "libxcb", "libGLEW"}) ? windowSystem
                                                                                : driver) += cost;
    for (const auto& [object, cost] : run.split.ourCallsByObject)
        runtimeFromOurs += isRuntime(object) ? cost : 0;
    const auto line = [&](const std::string& label, double value, const std::string& target = "") {
        table.line(padded("  " + label, labelWidth) + padded(grouped(value / callgrindFrames), columnWidth) + target);
    };
    line("our code (game + bench loop)", ours,
         std::string("< 100,000  ") + (ours / callgrindFrames < 100000.0 ? "met" : "MISSED"));
    for (const auto& [label, value] : {std::pair{"C/C++ runtime called by our code", runtimeFromOurs},
                                       {"C/C++ runtime, all callers", runtime},
                                       {"GL driver (Mesa swrast/gallium, LLVM)", driver},
                                       {"JIT code (shaders, vertex fetch, blend)", jit},
                                       {"GLFW, GLEW and X11", windowSystem}, {"total", double(run.split.total)}})
        line(label, value);
    table.line("  our code's largest functions:");
    for (std::size_t i = 0; i < run.split.ourFunctions.size() && i < 6; ++i)
        line("  " + shortFunctionName(run.split.ourFunctions[i].first), run.split.ourFunctions[i].second);
    table.line("  largest object files:");
    for (std::size_t i = 0; i < run.split.byObject.size() && i < 4; ++i) {
        const std::string& object = run.split.byObject[i].first;  // "???": code in no file, the driver's JIT output
        line("  " + (object == "???" ? "??? (JIT code)" : object.substr(object.rfind('/') + 1)),
             run.split.byObject[i].second);
    }
}

}  // namespace

std::string formatReport(const std::vector<SizeRun>& runs, const CallgrindRun& callgrind, const std::string& machine)
{
    Table table(runs);
    const Results& first = runs.front().results;
    const std::string runCount = std::to_string(runs.front().runs);
    table.line("Glimmerdeep benchmark: Release build, " + first.text("renderer") + ", OpenGL " +
               first.text("gl.version"));
    table.line(machine + "\n");
    table.row("", nullptr, "target");  // the sizes

    table.heading("Start-up, ms, the run with the median total of " + runCount +
                  " (process start to the first frame swapped)");
    const auto startup = [](const Results& r, const char* phase) { return r.number("startup." + std::string(phase)); };
    for (const auto& [label, figure] : std::initializer_list<std::pair<const char*, Figure>>{
             {"process start to main (exec, libraries)", key("startup.process_to_main")},
             {"settings (loadSettings)", key("startup.settings")},
             {"window, GL context, targets, framework", key("startup.window")},
             {"  of which openMainWindow", key("startup.open_window")},
             {"buildLevel (programs, textures, models, bake, meshes)", key("startup.build_level")},
             {"cursor capture and the simulation", key("startup.after_build")},
             {"sound (device, sources, sound files)", key("startup.audio")},
             {"first frame (runFrame + swap)", key("startup.first_frame")},
             // llvmpipe compiles a program's variant at its first draw: the first frame less the second.
             {"  of which compiling what it draws",
              [&](const Results& r) { return std::max(startup(r, "first_frame") - startup(r, "second_frame"), 0.0); }},
             {"rest (total less the rows above)",  // all from one run
              [&](const Results& r) {
                  return startup(r, "total") - startup(r, "process_to_main") - startup(r, "settings") -
                         startup(r, "window") - startup(r, "build_level") - startup(r, "after_build") -
                         startup(r, "audio") - startup(r, "first_frame");
              }},
             {"total", key("startup.total")}})
        table.row(label, decimals(figure, 1));
    table.heading("buildLevel's loaders alone, each kind in a fresh process, ms (medians; inside buildLevel above)");
    for (const auto& [kind, unit] : {std::pair{"shader", " programs)"}, {"texture", " DDS)"}, {"model", " OBJ)"}}) {
        const std::string name = "loaders." + std::string(kind);
        table.row(kind + std::string("s (") + count(first.number(name + "_count")) + unit,
                  decimals(key(name + "s"), 1));
    }
    table.row("lightmap bake", decimals(key("loaders.bake"), 1));

    table.heading("Frame time, ms (runFrame + swap, " + count(first.number("frames.count")) +
                  " frames on the route; medians of the runs)");
    table.row("median", decimals(key("frames.median"), 2));
    table.row("95th percentile", decimals(key("frames.p95"), 2));
    table.row("frames per second at the median",
              decimals([](const Results& r) { return 1000 / r.number("frames.median"); }, 1));
    for (const char* bloom : {"half", "quarter"})
        table.row(std::string("median, bloom_resolution ") + bloom + " (frames per second)",
                  [key = "frames.bloom_" + std::string(bloom) + ".median"](const Results& r) {
                      return fixed(r.number(key), 2) + " (" + fixed(1000.0 / r.number(key), 1) + ")";
                  });

    table.heading("quality = full beside auto, median frame ms (frames per second), " + count(first.number("pass.frames")) +
                  " frames after the others");
    table.row("auto's choice here: render_scale, bloom_resolution", [](const Results& r) {
        const double divisor = r.number("auto.bloom_divisor");
        return fixed(r.number("auto.render_scale"), 2) + ", " +
               (divisor == 4 ? "quarter" : divisor == 2 ? "half" : "full");
    });
    const auto msAndFps = [](const std::string& name) {
        return [name](const Results& r) {
            return fixed(r.number(name), 2) + " (" + fixed(1000.0 / r.number(name), 1) + ")";
        };
    };
    table.row("full, window of 4 samples (as above)", msAndFps("frames.median"));
    table.row("auto, window of 4 samples", msAndFps("frames.auto.median"), ">= 30 fps 1280x720, >= 40 800x800");
    table.row("full, window of 1 sample", msAndFps("single_sample.frames.median"));
    table.row("auto, window of 1 sample", msAndFps("single_sample.auto.median"));
    table.row("auto, 95th percentile, window of 4 samples", decimals(key("frames.auto.p95"), 2));
    table.row("picture: mean |auto - full| per channel (0..255)", decimals(key("picture.mean_absolute"), 2));
    table.row("picture: pixels a channel more than 16 apart, %", decimals(key("picture.differing_share", 0.01), 1));

    table.heading("Passes against their floors, ms, median of " + count(first.number("pass.frames")) +
                  " frames: wall through glFinish, and its ratio to the floor");
    passRows(table, runs);

    table.heading("Per steady frame (mean of " + count(first.number("count.frames")) + " frames)");
    for (const auto& [label, name, target] :
         {std::tuple{"heap allocations (operator new)", "allocations", "0"}, {"GL objects created", "gl_objects", "0"},
          {"uniform location queries", "location_queries", "0"}, {"draw calls", "draw_calls", ""},
          {"bytes uploaded", "bytes_uploaded", ""}})
        table.row(label, [key = "count." + std::string(name)](const Results& r) { return count(r.number(key)); },
                  target);

    instructionRows(table, callgrind);

    table.heading("Notes\n- Each size is measured by " + runCount +
                  " sets of three fresh processes spawned by the bench; every figure is the median of");
    table.line(R"(  the runs' figures, except the start-up split, which is the whole of the run with the median total
  so that its rows add up. Start-up counts from just before the spawn to the return of the first
  glfwSwapBuffers; each row times the calls main() makes. llvmpipe compiles a program's variant at
  its first draw, so the first frame carries that compiling: the first frame less the second. The
  loaders are timed apart, each kind in a second fresh process that only opened its window, as cold
  as buildLevel meets them; they are part of buildLevel's row, not added to the split.
- Frames follow a fixed route: follow camera, W held, the view turning 1.2 rad/s and nodding, clock
  +1/60 s a frame, power kept full so the run never ends, )" +
               std::to_string(warmUpFrames) + R"( warm-up frames first (every program and
  variant drawn once). Frame time is the wall time of glfwPollEvents + runFrame + glfwSwapBuffers.
- Pass times come from further frames run through runFrame, whose drawFrame tells an observer where
  each pass begins and ends. Each pass is timed alone: a GL_TIME_ELAPSED query around it and the wall
  clock to a glFinish after it; ratios are judged on the wall, the timer is shown for comparison.
- Floors, in the same process at the same size: the scene's floor is the frame's own scene draws with
  every program swapped for one with the same vertex stage and a fragment stage that writes constants
  to both targets (GLEW's glUseProgram and glUniform* redirected while the scene pass runs); the blur's
  is one texel fetched per pixel from the bright target into a ping-pong target, the composite's two
  fetched and added into the window, over the game's quad with the state a frame leaves (blending )" +
               (first.number("blend_after_frame") > 0.5 ? "on" : "off") + R"().
- The frame at bloom_resolution half and quarter: the same route with the ping-pong targets remade at
  that fraction of the window, after warm-up frames.
- quality = auto: the settings chooseRenderQuality gives for this GL_RENDERER and size with no key of
  the player's, in a target set of their own swapped in for the frames. The windows of 1 sample are a
  third fresh process per run, opened without GLFW_SAMPLES 4, timing full then auto. The picture
  distance compares the window's pixels of the same frames (the game's state put back between the two
  draws, 10 frames 5 apart): the mean absolute difference per 8-bit channel says how far the picture
  moves on average; the share of pixels with a channel more than 16 apart (a step the eye sees on the
  sky and the wall) says how much of it shows the change.
- Counts come from the probes the tests use: GLEW's pointers wrapped (Gen*/Create*, uniform and
  attribute look-ups, instanced draws, buffer and texture uploads) and the GL 1.1 calls the game
  makes interposed (glDrawArrays, glDrawElements, glGenTextures, glTexImage2D among them);
  allocations count every operator new of the process.)");
    if (callgrind.skippedBecause.empty())
        table.line(R"(- Instructions: valgrind --tool=callgrind, instrumentation on only around the steady frames,
  LP_NUM_THREADS=0 so the rasterizer runs on the counted thread. Our code's count does not depend
  on the size; the driver's and the JIT code's grow with the pixels.)");
    for (const SizeRun& run : runs) {
        const std::string size = "- " + run.size.text();
        if (run.exitStatus != 0)
            table.line(size + ": the measuring process failed (status " + std::to_string(run.exitStatus) + "), see " +
                       run.logPath);
        if (run.debugMessages > 0)
            table.line(size + ": " + std::to_string(run.debugMessages) + " GL debug messages, see " + run.logPath);
        if (run.results.number("events_printed") > 0)
            table.line(size + ": the route printed game events (a ring was passed).");
    }
    return table.text();
}
