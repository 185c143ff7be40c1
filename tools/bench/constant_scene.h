// The scene's floor: the frame's own scene draws, each with a twin program
// that keeps the original's vertex stage (so every triangle covers the same
// pixels) and writes a constant to both scene targets. The vertex sources are
// caught as the level links its programs; while a swap lives, GLEW's
// glUseProgram and uniform entry points are redirected to the twins, each
// uniform location translated by name (fragment-only uniforms are dropped).
#pragma once

#include "framework/gl_handle.h"

#include <functional>
#include <map>
#include <string>
#include <unordered_map>

using VertexSources = std::map<GLuint, std::string>;  // program name to its vertex stage's source

// The vertex stage of every program linked while `build` runs.
VertexSources catchVertexSources(const std::function<void()>& build);

class ConstantPrograms {
public:
    // ready() is false when a twin does not build.
    explicit ConstantPrograms(const VertexSources& sources);
    bool ready() const { return ready_; }

    // From swapIn to swapOut, the game's programs draw as their twins.
    void swapIn();
    void swapOut();

    GLuint twinOf(GLuint program);             // makes the program's twin current for twinLocation
    GLint twinLocation(GLint location) const;  // -1: the twin lacks the uniform

private:
    struct Twin {
        ProgramHandle program;
        std::unordered_map<GLint, GLint> locations;  // original's to the twin's
    };
    std::map<GLuint, Twin> twins_;
    const Twin* current_ = nullptr;
    bool ready_ = true;
};
