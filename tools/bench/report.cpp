#include "report.h"

#include "measurement.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <sstream>

namespace {

constexpr int labelWidth = 46;
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

// Start-up "rest": the total less every part named above it.
double startupRest(const Results& r)
{
    return r.number("startup.total") - r.number("startup.process_to_main") - r.number("startup.settings") -
           r.number("startup.window") - r.number("loaders.shaders") - r.number("loaders.textures") -
           r.number("loaders.models") - r.number("loaders.bake") - r.number("startup.first_frame");
}

// buildLevel's own work besides the loaders timed apart: meshes, materials, particles, overlay, bloom.
double buildLevelRest(const Results& r)
{
    return r.number("startup.build_level") - r.number("loaders.shaders") - r.number("loaders.textures") -
           r.number("loaders.models") - r.number("loaders.bake");
}

std::string timeWithWall(const Results& r, const std::string& key)
{
    return fixed(r.number(key + ".query.median"), 2) + " (" + fixed(r.number(key + ".wall.median"), 2) + ")";
}

std::string timesFloor(double value, double floor)
{
    return fixed(value, 2) + " = " + fixed(value / floor, 1) + "x";
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

    table.heading("Start-up, ms (process start to the first frame swapped)");
    table.row("process start to main (exec, libraries)", [](const Results& r) { return fixed(r.number("startup.process_to_main"), 1); });
    table.row("settings (loadSettings)", [](const Results& r) { return fixed(r.number("startup.settings"), 1); });
    table.row("window, GL context, targets, framework", [](const Results& r) { return fixed(r.number("startup.window"), 1); });
    table.row("  of which openMainWindow", [](const Results& r) { return fixed(r.number("startup.open_window"), 1); });
    table.row("shaders (" + count(first.number("loaders.shader_count")) + " programs)",
              [](const Results& r) { return fixed(r.number("loaders.shaders"), 1); });
    table.row("textures (" + count(first.number("loaders.texture_count")) + " DDS)",
              [](const Results& r) { return fixed(r.number("loaders.textures"), 1); });
    table.row("models (" + count(first.number("loaders.model_count")) + " OBJ)",
              [](const Results& r) { return fixed(r.number("loaders.models"), 1); });
    table.row("lightmap bake", [](const Results& r) { return fixed(r.number("loaders.bake"), 1); });
    table.row("first frame (runFrame + swap)", [](const Results& r) { return fixed(r.number("startup.first_frame"), 1); });
    table.row("rest (total less the rows above)", [](const Results& r) { return fixed(startupRest(r), 1); });
    table.row("  of which buildLevel less its loaders", [](const Results& r) { return fixed(buildLevelRest(r), 1); });
    table.row("total", [](const Results& r) { return fixed(r.number("startup.total"), 1); });
    table.row("buildLevel as a whole", [](const Results& r) { return fixed(r.number("startup.build_level"), 1); });

    table.heading("Frame time, ms (runFrame + swap, " + count(first.number("frames.count")) + " frames on the route)");
    table.row("median", [](const Results& r) { return fixed(r.number("frames.median"), 2); });
    table.row("95th percentile", [](const Results& r) { return fixed(r.number("frames.p95"), 2); });
    table.row("frames per second at the median",
              [](const Results& r) { return fixed(1000.0 / r.number("frames.median"), 1); });

    table.heading("Passes, ms, median of " + count(first.number("pass.frames")) +
                  " frames: GL_TIME_ELAPSED (wall through glFinish)");
    table.row("scene (steps 1-8)", [](const Results& r) { return timeWithWall(r, "pass.scene"); });
    table.row("blur, ten passes", [](const Results& r) { return timeWithWall(r, "pass.blur"); });
    table.row("composite", [](const Results& r) { return timeWithWall(r, "pass.composite"); });
    table.row("overlay", [](const Results& r) { return timeWithWall(r, "pass.overlay"); });

    table.heading("Blur against the single-fetch floor, ms, median: wall through glFinish, then GL timer");
    for (const char* method : {"wall", "query"}) {
        const std::string suffix = std::string(".") + method;
        const bool wall = suffix == ".wall";
        const std::string how = wall ? "" : ", timer";
        const std::string target = wall ? "<= 2x floor" : "";
        table.row("floor: one RGBA16F fetch per pixel" + how,
                  [suffix](const Results& r) { return fixed(r.number("floor" + suffix), 2); });
        table.row("blur pass in the frame (ten / 10)" + how,
                  [suffix](const Results& r) {
                      return timesFloor(r.number("pass.blur" + suffix + ".median") / 10.0, r.number("floor" + suffix));
                  },
                  target);
        table.row("horizontal blur pass alone" + how,
                  [suffix](const Results& r) { return timesFloor(r.number("blur_h" + suffix), r.number("floor" + suffix)); },
                  target);
        table.row("vertical blur pass alone" + how,
                  [suffix](const Results& r) { return timesFloor(r.number("blur_v" + suffix), r.number("floor" + suffix)); },
                  target);
    }

    table.heading("Per steady frame (mean of " + count(first.number("count.frames")) + " frames)");
    table.row("heap allocations (operator new)", [](const Results& r) { return count(r.number("count.allocations")); }, "0");
    table.row("GL objects created", [](const Results& r) { return count(r.number("count.gl_objects")); }, "0");
    table.row("uniform location queries", [](const Results& r) { return count(r.number("count.location_queries")); }, "0");
    table.row("draw calls", [](const Results& r) { return count(r.number("count.draw_calls")); });
    table.row("bytes uploaded", [](const Results& r) { return count(r.number("count.bytes_uploaded")); });

    instructionRows(table, callgrind);

    table.heading("Notes");
    const std::vector<std::string> notes = {
        "- Each size runs in a process of its own, spawned by the bench; start-up counts from just before the",
        "  spawn to the return of the first glfwSwapBuffers. Settings, window/context (openMainWindow, render",
        "  targets, render state, debug output, initFramework, key callback), buildLevel and the first frame",
        "  are timed around the calls main() makes. buildLevel is split by running its loaders in a second",
        "  fresh process that opens the window the same way and then builds, one kind at a time, the level's",
        "  programs, its textures (mipmaps rebuilt where the level does), its models, and a new Lightmap with",
        "  bakeLightmap through glFinish; a fresh process pays the first-use costs (the driver's JIT for the",
        "  mipmap and bake draws) that buildLevel pays, where a second run in the same process would not.",
        "  'rest' is the total less every named row; most of it is buildLevel's other work (meshes,",
        "  materials, particles, overlay, bloom). llvmpipe compiles shader variants at their first draw, so",
        "  the scene's compile cost lands in the first frame.",
        "- Frames follow a fixed route: follow camera, W held, the view turning 1.2 rad/s and nodding, clock",
        "  +1/60 s a frame, power kept full so the run never ends, " + std::to_string(warmUpFrames) +
            " warm-up frames first. Frame time is the",
        "  wall time of glfwPollEvents + runFrame + glfwSwapBuffers.",
        "- Pass times come from further frames run through runFrame, whose drawFrame tells an observer where",
        "  each pass begins and ends (the scene, the ten blur passes, the composite, the HUD); a GL_TIME_ELAPSED",
        "  query runs around each group and a glFinish follows it; the wall time runs to that glFinish. llvmpipe's timer misses work at times (the lone",
        "  horizontal pass and the overlay, which shares the composite's framebuffer, read near 0), so the",
        "  ratios to the floor are judged on the wall.",
        "- Floor and lone blur passes use the game's quad and ping-pong targets with the blend state a frame",
        "  leaves (blending " + std::string(first.number("blend_after_frame") > 0.5 ? "on" : "off") +
            "), the frame's blur program for the lone passes, each repeated.",
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
