// Reads a callgrind output file and splits its instruction counts by the
// object file that executed them, and our own executable's by function.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct CallgrindSplit {
    bool read = false;
    std::uint64_t total = 0;
    // Exclusive instructions per object file ("???" for code with no file: JIT-compiled shaders).
    std::vector<std::pair<std::string, std::uint64_t>> byObject;  // largest first
    // Exclusive instructions per function of `ourObject`.
    std::vector<std::pair<std::string, std::uint64_t>> ourFunctions;  // largest first
    // Inclusive cost of the calls our code makes straight into other objects, by callee object.
    std::vector<std::pair<std::string, std::uint64_t>> ourCallsByObject;  // largest first
};

// `ourObject` is the path of the executable as callgrind names it.
CallgrindSplit splitCallgrindFile(const std::string& path, const std::string& ourObject);
