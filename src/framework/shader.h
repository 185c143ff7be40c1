// One linked GL program made of a vertex and a fragment stage, built whole in
// the constructor from two asset files or from the small built-in sources.
// Any build failure ends the process through fatalExit, so a Shader that
// exists always holds a linked program. Uniforms are set by name through a
// per-program location cache; nothing here makes the program current except use().
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

// The built-in program: attribute 0 drawn at (x, y, -z), painted in the
// uniform "fragColor" (red unless set).
extern const char* const defaultVertexSource;
extern const char* const defaultFragmentSource;

class Shader {
public:
    // Reads, compiles and links the two files, found through findAssetPath.
    // Prints "Read shader: " + path for each stage, vertex first.
    Shader(std::string vertexPath, std::string fragmentPath);
    // Builds the built-in program; prints nothing.
    Shader();
    ~Shader();

    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;
    Shader(Shader&& other) noexcept;
    Shader& operator=(Shader&& other) noexcept;

    void use() const;

    // Each setter sends nothing when the program lacks the uniform.
    // The program must be current (use()).
    void setUniform(std::string_view name, const glm::mat3& value);
    void setUniform(std::string_view name, const glm::mat4& value);
    void setUniform(std::string_view name, const glm::vec3& value);
    void setUniform(std::string_view name, const glm::vec4& value);
    void setUniform(std::string_view name, int value);
    void setUniform(std::string_view name, float value);

    // Asks GL once per name for the life of this Shader; -1 when absent.
    GLint getUniformLocation(std::string_view name);

    GLuint handle() const { return handle_; }

private:
    void build();
    GLuint compileStage(const std::string& text, GLenum type) const;
    void release();

    GLuint handle_ = 0;
    std::string vertexPath_;    // the source text itself when builtIn_
    std::string fragmentPath_;  // likewise
    bool builtIn_ = false;
    // The cache is keyed by views into uniformNames_, so a hit needs no
    // std::string and allocates nothing. A deque never moves its elements,
    // which keeps the views valid as names are added.
    std::deque<std::string> uniformNames_;
    std::unordered_map<std::string_view, GLint> uniformLocations_;
};
