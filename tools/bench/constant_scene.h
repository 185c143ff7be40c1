// The scene's floor: the frame's own scene draws, each with a program that
// keeps the original's vertex stage (so every triangle covers the same
// pixels) and writes a constant to both scene targets. The vertex sources
// are caught while the level builds its programs; while a swap lives, GLEW's
// glUseProgram and uniform entry points are redirected to the twins, with
// each uniform location translated by name (fragment-only uniforms, which a
// twin lacks, are dropped).
#pragma once

#include "framework/gl_handle.h"

#include <GL/glew.h>

#include <map>
#include <string>
#include <unordered_map>

// The vertex stage of every program linked while it listened.
class VertexSourceLog {
public:
    // While it lives (GLEW loaded), the log listens.
    class Listen {
    public:
        explicit Listen(VertexSourceLog& log);
        ~Listen();
        Listen(const Listen&) = delete;
        Listen& operator=(const Listen&) = delete;
    };

    // Program name to the source of its vertex stage.
    const std::map<GLuint, std::string>& vertexSources() const { return programs_; }

    // Called from the hooks.
    void shaderCreated(GLuint shader, GLenum type);
    void sourceGiven(GLuint shader, std::string source);
    void attached(GLuint program, GLuint shader);

private:
    std::unordered_map<GLuint, GLenum> types_;
    std::unordered_map<GLuint, std::string> sources_;
    std::map<GLuint, std::string> programs_;
};

class ConstantPrograms {
public:
    // A twin for every program of the log; fails the bench (false from
    // ready()) when one does not build.
    explicit ConstantPrograms(const VertexSourceLog& log);
    bool ready() const { return ready_; }

    // While it lives, the game's programs draw as their twins.
    class Swap {
    public:
        explicit Swap(ConstantPrograms& programs);
        ~Swap();
        Swap(const Swap&) = delete;
        Swap& operator=(const Swap&) = delete;
    };

    // Called from the hooks.
    GLuint twinOf(GLuint program);
    GLint twinLocation(GLint location) const;

private:
    struct Twin {
        ProgramHandle program;
        std::unordered_map<GLint, GLint> locations;  // original's to the twin's
    };
    std::map<GLuint, Twin> twins_;
    const Twin* current_ = nullptr;
    bool ready_ = true;
};
