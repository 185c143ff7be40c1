// The Glimmerdeep benchmark: the real game's frames, headless, timed and counted. Run plainly, it conducts
// (main.cpp): per size, fresh measuring processes of itself (measure.cpp), one more under callgrind, then one table
// (report.cpp). This is what those parts share.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct FrameSize {
    int width = 0, height = 0;
    std::string text() const { return std::to_string(width) + "x" + std::to_string(height); }
};

// A measuring process, spawned as `bench --measure <mode> WxH <frames> <spawn time, ns>`: mode "frames" (start-up,
// frames, passes, counts, quality auto), "loaders", "single_sample" (full and auto frames in a window without
// multisampling) or "callgrind"; it prints its results among its log lines.
int runMeasurement(const std::string& mode, FrameSize size, int frames, std::int64_t spawnedAtNs);
inline constexpr const char* resultLinePrefix = "bench result: ";  // then key, blank, value
inline constexpr int warmUpFrames = 20;  // before any measured frame, so every variant is compiled
inline constexpr FrameSize callgrindSize{200, 200};
inline constexpr int callgrindFrames = 5;

// CLOCK_MONOTONIC, which all processes share: a parent's spawn time and a child's reading compare.
inline std::int64_t nowNanoseconds()
{
    return std::chrono::steady_clock::now().time_since_epoch() / std::chrono::nanoseconds(1);
}
inline double millisecondsBetween(std::int64_t startNs, std::int64_t endNs) { return (endNs - startNs) / 1.0e6; }
template <typename Callable>
double timeMilliseconds(Callable&& callable)
{
    const std::int64_t start = nowNanoseconds();
    callable();
    return millisecondsBetween(start, nowNanoseconds());
}

// The value at fraction p (0..1) of the sorted series, nearest rank; 0 for none.
double percentile(std::vector<double> values, double p);
inline double median(const std::vector<double>& values) { return percentile(values, 0.5); }
// The lines of a file that start with `prefix`, less the prefix.
std::vector<std::string> linesStarting(const std::string& path, const std::string& prefix);

// What measuring processes reported, by key.
struct Results {
    std::map<std::string, std::string> values;
    static Results read(const std::string& logPath);  // its result lines; empty when the file is missing
    double number(const std::string& key) const  // NaN when absent, so it shows as "n/a"
    {
        return values.count(key) != 0 ? std::strtod(values.at(key).c_str(), nullptr) : std::nan("");
    }
    std::string text(const std::string& key) const { return values.count(key) != 0 ? values.at(key) : ""; }
    // Each number the median of the runs' values, except the start-up figures ("startup.*"), all from the run whose
    // total is the median so that they add up; texts from the first run.
    static Results medianOf(const std::vector<Results>& runs);
};

using CostList = std::vector<std::pair<std::string, std::uint64_t>>;  // largest first
struct CallgrindSplit {
    bool read = false;
    std::uint64_t total = 0;
    CostList byObject;          // exclusive, per object file ("???": JIT-compiled code in no file)
    CostList ourFunctions;      // exclusive, per function of `ourObject`
    CostList ourCallsByObject;  // inclusive cost of our calls straight into other objects, by callee
};
// Of a callgrind file written with --compress-strings=no --compress-pos=no.
CallgrindSplit splitCallgrindFile(const std::string& path, const std::string& ourObject);

struct SizeRun {
    FrameSize size;
    Results results;  // medians of the runs
    int runs = 1, exitStatus = 0;
    int debugMessages = 0;  // "OpenGL Error" lines in its logs
    std::string logPath;
};
struct CallgrindRun {
    std::string skippedBecause;  // empty when it ran
    std::string ourObject;
    CallgrindSplit split;
};
// `machine` is the table's line on the machine and its load.
std::string formatReport(const std::vector<SizeRun>& runs, const CallgrindRun& callgrind, const std::string& machine);
