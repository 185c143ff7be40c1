// The bench's command line. Without --measure it is the conductor: it runs
// one measuring process per size (and one under callgrind) and prints the
// table. With --measure it is one of those measuring processes.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct FrameSize {
    int width = 0;
    int height = 0;
    std::string text() const { return std::to_string(width) + "x" + std::to_string(height); }
};

struct BenchOptions {
    int frames = 300;
    int runs = 3;  // measuring processes per size; each figure is the median of theirs
    std::vector<FrameSize> sizes{{800, 800}, {1280, 720}};
    bool callgrind = true;
    std::optional<int> callgrindFrames;  // conductor: frames under callgrind (5 unless given)
    FrameSize callgrindSize{200, 200};
    std::string outPath;  // the table is also written here when set
    std::string workDir;  // logs, results and the callgrind file; next to outPath by default

    // Measuring-process options; --callgrind-frames there means callgrind mode.
    std::optional<FrameSize> measure;
    bool loadersOnly = false;  // time the level's loaders in a fresh process, nothing else
    std::string resultsPath;
    std::int64_t spawnedAtNs = 0;
};

// "800x600"; nothing for anything else.
std::optional<FrameSize> parseFrameSize(const std::string& text);

// Nothing, after a line on `errors`, when the arguments make no sense.
std::optional<BenchOptions> parseBenchOptions(int argc, const char* const* argv, std::ostream& errors);

extern const char* const benchUsage;
