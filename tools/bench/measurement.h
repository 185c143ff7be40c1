// One measuring run of the game at one size, in a process of its own so its
// start-up is a real one: start-up phases, frame times, pass times, the
// single-fetch floor, per-frame counts and the loaders, written as results.
// In callgrind mode it only runs a few steady frames with instrumentation on;
// in loaders mode it only times the level's loaders in a process still cold.
#pragma once

#include <cstdint>
#include <string>

struct MeasurementOptions {
    int width = 800;
    int height = 800;
    int frames = 300;          // frames timed on the wall clock
    int callgrindFrames = 0;   // more than 0: callgrind mode, this many frames instrumented
    bool loadersOnly = false;  // only the window, then the level's loaders timed while all is cold
    std::int64_t spawnedAtNs = 0;  // when the parent started this process; 0: ask the kernel
    std::string resultsPath;
};

// Frames run before any measured one, so every shader variant is compiled.
inline constexpr int warmUpFrames = 20;

int runMeasurement(const MeasurementOptions& options);
