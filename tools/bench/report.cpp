#include "report.h"

#include "measurement.h"

#include "scene/bloom.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <sstream>

namespace {

constexpr int labelWidth = 56;
constexpr int columnWidth = 17;

std::string fixed(double value, int decimals)
{
    if (std::isnan(value))
        return "n/a";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Whole numbers with thousands separators.
std::string grouped(double value)
{
    if (std::isnan(value))
        return "n/a";
    const long long whole = std::llround(value);
    std::string digits = std::to_string(std::llabs(whole));
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return (whole < 0 ? "-" : "") + digits;
}

// A per-frame count: whole numbers as such, fractions with one decimal.
std::string count(double value)
{
    if (std::isnan(value))
        return "n/a";
    return std::fabs(value - std::round(value)) < 1e-9 ? grouped(value) : fixed(value, 1);
}

std::string padded(const std::string& text, int width)
{
    return text.size() >= static_cast<std::size_t>(width) ? text + " " : text + std::string(width - text.size(), ' ');
}

class Table {
public:
    explicit Table(const std::vector<SizeRun>& runs) : runs(runs) {}

    void heading(const std::string& text) { out << '\n' << text << '\n'; }

    void row(const std::string& label, const std::function<std::string(const Results&)>& cell,
             const std::string& target = "")
    {
        out << padded("  " + label, labelWidth);
        for (const SizeRun& run : runs)
            out << padded(cell(run.results), columnWidth);
        out << target;
        trimLine();
    }

    void columnHeads()
    {
        out << padded("", labelWidth);
        for (const SizeRun& run : runs)
            out << padded(run.size.text(), columnWidth);
        out << "target";
        trimLine();
    }

    void line(const std::string& text)
    {
        out << text;
        trimLine();
    }
    std::string text() const { return out.str(); }

private:
    void trimLine()
    {
        std::string all = out.str();
        while (!all.empty() && all.back() == ' ')
            all.pop_back();
        out.str("");
        out << all << '\n';
    }

    const std::vector<SizeRun>& runs;
    std::ostringstream out;
};

// Start-up "rest": the total less every part named above it, all from one run.
double startupRest(const Results& r)
{
    return r.number("startup.total") - r.number("startup.process_to_main") - r.number("startup.settings") -
           r.number("startup.window") - r.number("startup.build_level") - r.number("startup.after_build") -
           r.number("startup.first_frame");
}

// llvmpipe compiles a program's variant at its first draw: what the first
// frame costs beyond the second is that compiling.
double firstFrameCompile(const Results& r)
{
    return std::max(r.number("startup.first_frame") - r.number("startup.second_frame"), 0.0);
}

// One pass group's time and its floor, by key, through a function of the results.
using Figure = std::function<double(const Results&)>;

Figure key(const std::string& name, double divisor = 1.0)
{
    return [name, divisor](const Results& r) { return r.number(name) / divisor; };
}

std::string ratioCell(double value, double floor)
{
    return fixed(value, 2) + " = " + fixed(value / floor, 2) + "x";
}

// "<= 1.8x: met", or "MISSED" when a column's ratio is above the limit.
std::string verdict(const std::vector<SizeRun>& runs, const Figure& value, const Figure& floor, double limit)
{
    bool met = true;
    for (const SizeRun& run : runs)
        met = met && value(run.results) / floor(run.results) <= limit;
    return "<= " + fixed(limit, 1) + "x: " + (met ? "met" : "MISSED");
}

// The GL timer beside the wall: a timer reading under a tenth of the wall
// time missed the work and is no figure.
std::string timerCell(const Results& r, const std::string& prefix)
{
    const double query = r.number(prefix + ".query.median");
    const double wall = r.number(prefix + ".wall.median");
    if (!(query >= wall / 10.0))
        return "failed (" + fixed(query, 2) + ")";
    return fixed(query, 2);
}

double floorSum(const Results& r)
{
    return r.number("floor.scene.wall.median") + Bloom::blurIterations * r.number("floor.one_fetch.wall") +
           r.number("floor.two_fetch.wall");
}

void passRows(Table& table, const std::vector<SizeRun>& runs)
{
    const auto ratioRow = [&](const std::string& label, const Figure& value, const Figure& floor, double limit) {
        table.row(label, [&](const Results& r) { return ratioCell(value(r), floor(r)); },
                  limit > 0.0 ? verdict(runs, value, floor, limit) : "");
    };
    const auto floorRow = [&](const std::string& label, const Figure& floor) {
        table.row(label, [&](const Results& r) { return fixed(floor(r), 2); });
    };
    const double perAxis = Bloom::blurIterations / 2;
    ratioRow("scene, steps 0-9", key("pass.scene.wall.median"), key("floor.scene.wall.median"), 0.0);
    floorRow("  floor: the same draws, constant shader", key("floor.scene.wall.median"));
    ratioRow("blur pass along x (mean of 5)", key("pass.blur_h.wall.median", perAxis), key("floor.one_fetch.wall"), 1.8);
    ratioRow("blur pass along y (mean of 5)", key("pass.blur_v.wall.median", perAxis), key("floor.one_fetch.wall"), 1.8);
    floorRow("  floor: one RGBA16F fetch per pixel", key("floor.one_fetch.wall"));
    ratioRow("composite", key("pass.composite.wall.median"), key("floor.two_fetch.wall"), 1.5);
    floorRow("  floor: two fetches per pixel", key("floor.two_fetch.wall"));
    floorRow("HUD (no floor)", key("pass.hud.wall.median"));
    ratioRow("whole frame (median frame time)", key("frames.median"), floorSum, 1.6);
    floorRow("  sum of floors (scene + 10 one-fetch + two-fetch)", floorSum);

    table.heading("GL timer (GL_TIME_ELAPSED) of the same passes, ms: a reading under a tenth of the wall failed");
    for (const auto& [label, prefix] : {std::pair{"scene", "pass.scene"}, std::pair{"scene floor", "floor.scene"},
                                        std::pair{"blur passes along x (5)", "pass.blur_h"},
                                        std::pair{"blur passes along y (5)", "pass.blur_v"},
                                        std::pair{"composite", "pass.composite"}, std::pair{"HUD", "pass.hud"}})
        table.row(label, [prefix = std::string(prefix)](const Results& r) { return timerCell(r, prefix); });
    for (const auto& [label, prefix] : {std::pair{"one-fetch floor", "floor.one_fetch"},
                                        std::pair{"two-fetch floor", "floor.two_fetch"}})
        table.row(label, [prefix = std::string(prefix)](const Results& r) {
            const double query = r.number(prefix + ".query"), wall = r.number(prefix + ".wall");
            return query >= wall / 10.0 ? fixed(query, 2) : "failed (" + fixed(query, 2) + ")";
        });
}

bool isRuntime(const std::string& object)
{
    const std::string name = object.substr(object.rfind('/') + 1);
    for (const char* prefix : {"libc.so", "libc-", "libstdc++", "libm.so", "libm-", "libgcc_s", "ld-linux",
                               "libpthread", "libdl"})
        if (name.rfind(prefix, 0) == 0)
            return true;
    return false;
}

bool isWindowSystem(const std::string& object)
{
    const std::string name = object.substr(object.rfind('/') + 1);
    for (const char* prefix : {"libglfw", "libX", "libxcb", "libGLEW"})
        if (name.rfind(prefix, 0) == 0)
            return true;
    return false;
}

// The file name of an object; code callgrind found in no file is the driver's JIT output.
std::string objectLabel(const std::string& path)
{
    return path == "???" ? "??? (JIT code)" : path.substr(path.rfind('/') + 1);
}

// "ns::Class<args>::function(params) const" as "ns::Class<>::function".
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
    constexpr std::size_t longest = 40;
    return shorter.size() > longest ? shorter.substr(0, longest - 3) + "..." : shorter;
}

void instructionRows(Table& table, const CallgrindRun& run)
{
    table.heading("Instructions per steady frame (callgrind, " + std::to_string(run.frames) + " frames at " +
                  run.size.text() + ", exclusive by object file)");
    if (!run.skippedBecause.empty()) {
        table.line("  not measured: " + run.skippedBecause);
        return;
    }
    const CallgrindSplit& split = run.split;
    const double frames = run.frames;
    double ours = 0, runtime = 0, windowSystem = 0, jit = 0, driver = 0, runtimeFromOurs = 0;
    for (const auto& [object, cost] : split.byObject) {
        if (object == run.ourObject)
            ours += cost;
        else if (object == "???")
            jit += cost;
        else if (isRuntime(object))
            runtime += cost;
        else if (isWindowSystem(object))
            windowSystem += cost;
        else
            driver += cost;
    }
    for (const auto& [object, cost] : split.ourCallsByObject)
        if (isRuntime(object))
            runtimeFromOurs += cost;

    const auto line = [&](const std::string& label, double value, const std::string& target = "") {
        table.line(padded("  " + label, labelWidth) + padded(grouped(value / frames), columnWidth) + target);
    };
    const bool met = ours / frames < 100000.0;
    line("our code (game + bench loop)", ours, std::string("< 100,000  ") + (met ? "met" : "MISSED"));
    line("C/C++ runtime called by our code", runtimeFromOurs);
    line("C/C++ runtime, all callers", runtime);
    line("GL driver (Mesa swrast/gallium, LLVM)", driver);
    line("JIT code (shaders, vertex fetch, blend)", jit);
    line("GLFW, GLEW and X11", windowSystem);
    line("total", static_cast<double>(split.total));
    table.line("  our code's largest functions:");
    for (std::size_t i = 0; i < split.ourFunctions.size() && i < 6; ++i)
        line("  " + shortFunctionName(split.ourFunctions[i].first), static_cast<double>(split.ourFunctions[i].second));
    table.line("  largest object files:");
    for (std::size_t i = 0; i < split.byObject.size() && i < 4; ++i)
        line("  " + objectLabel(split.byObject[i].first), static_cast<double>(split.byObject[i].second));
}

}  // namespace

std::string formatReport(const std::vector<SizeRun>& runs, const CallgrindRun& callgrind, const MachineInfo& machine)
{
    Table table(runs);
    const Results& first = runs.front().results;
    table.line("Glimmerdeep benchmark: Release build, " + first.text("renderer") + ", OpenGL " +
               first.text("gl.version"));
    table.line("Machine: " + machine.cpu + ", " + std::to_string(machine.cores) + " cores, load average " +
               machine.loadBefore + " before and " + machine.loadAfter + " after; Xvfb, LIBGL_ALWAYS_SOFTWARE=1, " +
               "LP_NUM_THREADS " + machine.threads);
    table.line("");
    table.columnHeads();

    table.heading("Start-up, ms, the run with the median total of " + std::to_string(runs.front().runs) +
                  " (process start to the first frame swapped)");
    const auto startupRow = [&](const std::string& label, const char* key) {
        table.row(label, [key](const Results& r) { return fixed(r.number(key), 1); });
    };
    startupRow("process start to main (exec, libraries)", "startup.process_to_main");
    startupRow("settings (loadSettings)", "startup.settings");
    startupRow("window, GL context, targets, framework", "startup.window");
    startupRow("  of which openMainWindow", "startup.open_window");
    startupRow("buildLevel (programs, textures, models, bake, meshes)", "startup.build_level");
    startupRow("cursor capture and the simulation", "startup.after_build");
    startupRow("first frame (runFrame + swap)", "startup.first_frame");
    table.row("  of which compiling what it draws", [](const Results& r) { return fixed(firstFrameCompile(r), 1); });
    table.row("rest (total less the rows above)", [](const Results& r) { return fixed(startupRest(r), 1); });
    startupRow("total", "startup.total");
    table.heading("buildLevel's loaders alone, each kind in a fresh process, ms (medians; inside buildLevel above)");
    table.row("shaders (" + count(first.number("loaders.shader_count")) + " programs)",
              [](const Results& r) { return fixed(r.number("loaders.shaders"), 1); });
    table.row("textures (" + count(first.number("loaders.texture_count")) + " DDS)",
              [](const Results& r) { return fixed(r.number("loaders.textures"), 1); });
    table.row("models (" + count(first.number("loaders.model_count")) + " OBJ)",
              [](const Results& r) { return fixed(r.number("loaders.models"), 1); });
    table.row("lightmap bake", [](const Results& r) { return fixed(r.number("loaders.bake"), 1); });

    table.heading("Frame time, ms (runFrame + swap, " + count(first.number("frames.count")) +
                  " frames on the route; medians of the runs)");
    table.row("median", [](const Results& r) { return fixed(r.number("frames.median"), 2); });
    table.row("95th percentile", [](const Results& r) { return fixed(r.number("frames.p95"), 2); });
    table.row("frames per second at the median",
              [](const Results& r) { return fixed(1000.0 / r.number("frames.median"), 1); });
    for (const auto& [label, key] : {std::pair{"bloom_resolution half", "frames.bloom_half.median"},
                                     std::pair{"bloom_resolution quarter", "frames.bloom_quarter.median"}})
        table.row(std::string("median, ") + label + " (frames per second)", [key = std::string(key)](const Results& r) {
            return fixed(r.number(key), 2) + " (" + fixed(1000.0 / r.number(key), 1) + ")";
        });

    table.heading("Passes against their floors, ms, median of " + count(first.number("pass.frames")) +
                  " frames: wall through glFinish, and its ratio to the floor");
    passRows(table, runs);

    table.heading("Per steady frame (mean of " + count(first.number("count.frames")) + " frames)");
    table.row("heap allocations (operator new)", [](const Results& r) { return count(r.number("count.allocations")); }, "0");
    table.row("GL objects created", [](const Results& r) { return count(r.number("count.gl_objects")); }, "0");
    table.row("uniform location queries", [](const Results& r) { return count(r.number("count.location_queries")); }, "0");
    table.row("draw calls", [](const Results& r) { return count(r.number("count.draw_calls")); });
    table.row("bytes uploaded", [](const Results& r) { return count(r.number("count.bytes_uploaded")); });

    instructionRows(table, callgrind);

    table.heading("Notes");
    const std::vector<std::string> notes = {
        "- Each size is measured by " + std::to_string(runs.front().runs) +
            " pairs of fresh processes spawned by the bench; every figure is the median of",
        "  the runs' figures, except the start-up split, which is the whole of the run with the median total",
        "  so that its rows add up. Start-up counts from just before the spawn to the return of the first",
        "  glfwSwapBuffers; each row times the calls main() makes. llvmpipe compiles a program's variant at",
        "  its first draw, so the first frame carries that compiling: the first frame less the second. The",
        "  loaders are timed apart, each kind in a second fresh process that only opened its window, as cold",
        "  as buildLevel meets them; they are part of buildLevel's row, not added to the split.",
        "- Frames follow a fixed route: follow camera, W held, the view turning 1.2 rad/s and nodding, clock",
        "  +1/60 s a frame, power kept full so the run never ends, " + std::to_string(warmUpFrames) +
            " warm-up frames first (every program and",
        "  variant drawn once). Frame time is the wall time of glfwPollEvents + runFrame + glfwSwapBuffers.",
        "- Pass times come from further frames run through runFrame, whose drawFrame tells an observer where",
        "  each pass begins and ends. Each pass is timed alone: a GL_TIME_ELAPSED query around it and the wall",
        "  clock to a glFinish after it; ratios are judged on the wall, the timer is shown for comparison.",
        "- Floors, in the same process at the same size: the scene's floor is the frame's own scene draws with",
        "  every program swapped for one with the same vertex stage and a fragment stage that writes constants",
        "  to both targets (GLEW's glUseProgram and glUniform* redirected while the scene pass runs); the blur's",
        "  is one texel fetched per pixel from the bright target into a ping-pong target, the composite's two",
        "  fetched and added into the window, over the game's quad with the state a frame leaves (blending " +
            std::string(first.number("blend_after_frame") > 0.5 ? "on" : "off") + ").",
        "- The frame at bloom_resolution half and quarter: the same route with the ping-pong targets remade at",
        "  that fraction of the window, after warm-up frames.",
        "- Counts come from the probes the tests use: GLEW's pointers wrapped (Gen*/Create*, uniform and",
        "  attribute look-ups, instanced draws, buffer and texture uploads) and the GL 1.1 calls the game",
        "  makes interposed (glDrawArrays, glDrawElements, glGenTextures, glTexImage2D among them);",
        "  allocations count every operator new of the process.",
    };
    for (const std::string& note : notes)
        table.line(note);
    if (callgrind.skippedBecause.empty()) {
        table.line("- Instructions: valgrind --tool=callgrind, instrumentation on only around the steady frames,");
        table.line("  LP_NUM_THREADS=0 so the rasterizer runs on the counted thread. Our code's count does not depend");
        table.line("  on the size; the driver's and the JIT code's grow with the pixels.");
    }
    for (const SizeRun& run : runs) {
        if (run.exitStatus != 0)
            table.line("- " + run.size.text() + ": the measuring process failed (status " +
                       std::to_string(run.exitStatus) + "), see " + run.logPath);
        if (run.debugMessages > 0)
            table.line("- " + run.size.text() + ": " + std::to_string(run.debugMessages) +
                       " GL debug messages, see " + run.logPath);
        if (run.results.number("event_bytes") > 0)
            table.line("- " + run.size.text() + ": the route printed game events (a ring was passed).");
    }
    return table.text();
}
