// GL programs made of a vertex and a fragment stage. buildProgram finds,
// reads, compiles and links without printing or ending anything and says
// how it went; Shader is the game's owner of one linked program, built
// whole in its constructor, where a failed build is fatal. Uniforms are set
// by name through a per-program location cache; nothing here makes the
// program current except use().
#pragma once

#include "gl_handle.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The built-in program: attribute 0 drawn at (x, y, -z), painted in the
// uniform "fragColor" (red unless set).
extern const char* const defaultVertexSource;
extern const char* const defaultFragmentSource;

// Two stages by file path (searched for as every asset is) or as source text.
struct ProgramSources {
    std::string vertex;
    std::string fragment;
    bool builtIn = false;  // true: the texts are the sources themselves
};

// What building gave: a linked program, or the lines that say why not.
struct ProgramBuild {
    ProgramHandle program;              // none when the build failed
    std::vector<std::string> progress;  // "Read shader: <path>" per compiled file stage
    std::vector<std::string> failure;   // why there is no program; empty on success
};

ProgramBuild buildProgram(const ProgramSources& sources);

class Shader {
public:
    // Reads, compiles and links the two files, found through findAssetPath.
    // Prints "Read shader: " + path for each stage, vertex first; any
    // failure ends the game with its lines (Severity::fatal).
    Shader(std::string vertexPath, std::string fragmentPath);
    // Builds the built-in program; prints nothing.
    Shader();

    void use() const;

    // Each setter sends nothing when the program lacks the uniform.
    // The program must be current (use()).
    void setUniform(std::string_view name, const glm::mat3& value);
    void setUniform(std::string_view name, const glm::mat4& value);
    void setUniform(std::string_view name, const glm::vec2& value);
    void setUniform(std::string_view name, const glm::vec3& value);
    void setUniform(std::string_view name, const glm::vec4& value);
    void setUniform(std::string_view name, int value);
    void setUniform(std::string_view name, float value);

    // Asks GL once per name for the life of this Shader; -1 when absent.
    GLint getUniformLocation(std::string_view name);

private:
    explicit Shader(const ProgramSources& sources);

    ProgramHandle program_;
    // The cache is keyed by views into uniformNames_, so a hit needs no
    // std::string and allocates nothing. A deque never moves its elements,
    // also not when the deque itself is moved, which keeps the views valid.
    std::deque<std::string> uniformNames_;
    std::unordered_map<std::string_view, GLint> uniformLocations_;
};
