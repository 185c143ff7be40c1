// Records the GL calls made while a GlCallRecorder lives: how many of each
// entry point, what they amount to (objects created, location look-ups,
// draws, bytes uploaded) and, on request, every uniform upload by name.
// GLEW's function pointers are swapped for recording wrappers; the GL 1.1
// entry points, which libGL exports itself, are defined by this library in
// the executable that links it and always forward to libGL. Counting
// allocates nothing; naming uniforms does.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <string>
#include <vector>

struct GlCallCounts {
    std::int64_t calls = 0;            // every recorded call
    std::int64_t objectsCreated = 0;   // names from every Gen*/Create* call
    std::int64_t locationQueries = 0;  // uniform and attribute look-ups
    std::int64_t drawCalls = 0;
    std::int64_t bytesUploaded = 0;    // buffer data and images that carry data
};

struct UniformUpload {
    GLuint program = 0;         // the program current when it was set
    std::string name;           // as the program declares it; "?" if none has that location
    std::vector<float> values;  // ints as floats, matrices column by column
};

struct LocationQuery {
    GLuint program = 0;
    std::string name;
    GLint location = -1;  // -1: the program has no such uniform
};

class GlCallRecorder {
public:
    // Needs GLEW loaded. With `nameUniforms`, keeps every uniform upload and
    // every uniform location asked for.
    explicit GlCallRecorder(bool nameUniforms = false);
    ~GlCallRecorder();
    GlCallRecorder(const GlCallRecorder&) = delete;
    GlCallRecorder& operator=(const GlCallRecorder&) = delete;

    const GlCallCounts& counts() const;
    // Calls of one entry point by its C name, e.g. "glDrawArrays".
    std::int64_t callsTo(const char* function) const;
    const std::vector<UniformUpload>& uniforms() const;
    // Uploads of one uniform to one program, in order.
    std::vector<UniformUpload> uniforms(GLuint program, const std::string& name) const;
    const std::vector<LocationQuery>& locationQueries() const;
    // Starts again from nothing.
    void clear();
};
