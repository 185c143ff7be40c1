#include "shader.h"

#include "asset_path.h"
#include "fatal_exit.h"
#include "file_io.h"

#include <glm/gtc/type_ptr.hpp>

#include <iostream>
#include <utility>
#include <vector>

const char* const defaultVertexSource =
    "#version 330 core\n"
    "layout(location = 0) in vec3 position;\n"
    "void main() {\n"
    "\tgl_Position = vec4(position.xy, -position.z, 1);\n"
    "}";

const char* const defaultFragmentSource =
    "#version 330 core \n"
    "uniform vec3 fragColor = vec3(1, 0, 0); \n"
    "out vec4 color; \n"
    "void main() {  \n"
    "\tcolor = vec4(fragColor, 1); \n"
    "}";

namespace {

// Ends the process unless the file behind `path` can be found and read.
std::string readShaderFile(const std::string& path)
{
    const std::string resolved = findAssetPath(path);
    if (resolved.empty())
        fatalExit({"Could not find shader file: " + path});
    std::optional<std::string> source = readWholeFile(resolved);
    if (!source)
        fatalExit({"Unable to load file[" + resolved + "]!"});
    return std::move(*source);
}

// The info log up to its terminating zero; "" when GL keeps none.
std::string infoLog(GLuint object, bool isProgram)
{
    GLint length = 0;
    if (isProgram)
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    else
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0)
        return {};
    std::vector<GLchar> buffer(static_cast<size_t>(length), '\0');
    if (isProgram)
        glGetProgramInfoLog(object, length, nullptr, buffer.data());
    else
        glGetShaderInfoLog(object, length, nullptr, buffer.data());
    buffer.back() = '\0';
    return std::string(buffer.data());
}

}  // namespace

Shader::Shader(std::string vertexPath, std::string fragmentPath)
    : vertexPath_(std::move(vertexPath)), fragmentPath_(std::move(fragmentPath)), builtIn_(false)
{
    build();
}

Shader::Shader() : vertexPath_(defaultVertexSource), fragmentPath_(defaultFragmentSource), builtIn_(true)
{
    build();
}

Shader::~Shader()
{
    release();
}

Shader::Shader(Shader&& other) noexcept
    : handle_(std::exchange(other.handle_, 0)),
      vertexPath_(std::move(other.vertexPath_)),
      fragmentPath_(std::move(other.fragmentPath_)),
      builtIn_(other.builtIn_),
      uniformNames_(std::move(other.uniformNames_)),
      uniformLocations_(std::move(other.uniformLocations_))
{
    other.uniformNames_.clear();
    other.uniformLocations_.clear();
}

Shader& Shader::operator=(Shader&& other) noexcept
{
    if (this != &other) {
        release();
        handle_ = std::exchange(other.handle_, 0);
        vertexPath_ = std::move(other.vertexPath_);
        fragmentPath_ = std::move(other.fragmentPath_);
        builtIn_ = other.builtIn_;
        uniformNames_ = std::move(other.uniformNames_);
        uniformLocations_ = std::move(other.uniformLocations_);
        other.uniformNames_.clear();
        other.uniformLocations_.clear();
    }
    return *this;
}

void Shader::release()
{
    if (handle_ == 0)
        return;
    // Whatever was current goes too: no program is left current afterwards.
    glUseProgram(0);
    glDeleteProgram(handle_);
    handle_ = 0;
}

void Shader::build()
{
    const GLuint vertexShader = compileStage(vertexPath_, GL_VERTEX_SHADER);
    const GLuint fragmentShader = compileStage(fragmentPath_, GL_FRAGMENT_SHADER);

    const GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_FALSE) {
        const std::string log = infoLog(program, true);
        glDeleteProgram(program);
        glDeleteShader(vertexShader);
        glDeleteShader(fragmentShader);
        fatalExit({"Failed to link shader program:", log});
    }
    glDetachShader(program, vertexShader);
    glDetachShader(program, fragmentShader);
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
    handle_ = program;
}

GLuint Shader::compileStage(const std::string& text, GLenum type) const
{
    const std::string source = builtIn_ ? text : readShaderFile(text);

    const GLuint shader = glCreateShader(type);
    if (shader == 0)
        fatalExit({"Failed to create " + std::to_string(type)});

    // Passed zero-terminated: a file holding a NUL byte ends there for GL.
    const GLchar* sourceText = source.c_str();
    glShaderSource(shader, 1, &sourceText, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_FALSE && glIsShader(shader)) {
        if (!builtIn_)
            std::cout << "Read shader: " << text << std::endl;
        return shader;
    }

    const std::string log = infoLog(shader, false);
    glDeleteShader(shader);
    fatalExit({"Failed to compile shader: " + text, log});
}

void Shader::use() const
{
    glUseProgram(handle_);
}

GLint Shader::getUniformLocation(std::string_view name)
{
    const auto found = uniformLocations_.find(name);
    if (found != uniformLocations_.end())
        return found->second;
    const std::string& stored = uniformNames_.emplace_back(name);
    const GLint location = glGetUniformLocation(handle_, stored.c_str());
    uniformLocations_.emplace(std::string_view(stored), location);
    return location;
}

void Shader::setUniform(std::string_view name, const glm::mat3& value)
{
    const GLint location = getUniformLocation(name);
    if (location != -1)
        glUniformMatrix3fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

void Shader::setUniform(std::string_view name, const glm::mat4& value)
{
    const GLint location = getUniformLocation(name);
    if (location != -1)
        glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

void Shader::setUniform(std::string_view name, const glm::vec3& value)
{
    const GLint location = getUniformLocation(name);
    if (location != -1)
        glUniform3f(location, value.x, value.y, value.z);
}

void Shader::setUniform(std::string_view name, const glm::vec4& value)
{
    const GLint location = getUniformLocation(name);
    if (location != -1)
        glUniform4f(location, value.x, value.y, value.z, value.w);
}

void Shader::setUniform(std::string_view name, int value)
{
    const GLint location = getUniformLocation(name);
    if (location != -1)
        glUniform1i(location, value);
}

void Shader::setUniform(std::string_view name, float value)
{
    const GLint location = getUniformLocation(name);
    if (location != -1)
        glUniform1f(location, value);
}
