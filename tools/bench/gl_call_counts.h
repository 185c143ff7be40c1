// Counts what the game asks of GL while a GlCallCounting is alive: objects
// created, uniform location queries, draw calls and bytes uploaded. GLEW's
// function pointers are swapped for counting wrappers; the GL 1.1 entry
// points, which GLEW links directly, are defined in this executable ahead of
// libGL and always forward (they count only while counting).
#pragma once

#include <cstdint>

struct GlCallCounts {
    std::int64_t objectsCreated = 0;  // names from every Gen*/Create* call
    std::int64_t locationQueries = 0;  // uniform, attribute and block look-ups
    std::int64_t drawCalls = 0;
    std::int64_t bytesUploaded = 0;  // buffer data and texture images with data
};

class GlCallCounting {
public:
    // Needs GLEW loaded; swaps the pointers and starts from zero.
    GlCallCounting();
    ~GlCallCounting();
    GlCallCounting(const GlCallCounting&) = delete;
    GlCallCounting& operator=(const GlCallCounting&) = delete;

    GlCallCounts counts() const;
};
