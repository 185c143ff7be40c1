#include "shader.h"

#include "asset_path.h"
#include "console.h"
#include "file_io.h"

#include <glm/gtc/type_ptr.hpp>

#include <optional>
#include <utility>

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

void deleteStageName(GLuint name)
{
    glDeleteShader(name);
}

// A compiled stage, deleted when it goes.
using StageHandle = GlHandle<deleteStageName>;

// The source of one stage, or the failure line when a file cannot be had.
std::optional<std::string> readStage(const std::string& text, bool builtIn, ProgramBuild& build)
{
    if (builtIn)
        return text;
    const std::string resolved = findAssetPath(text);
    if (resolved.empty()) {
        build.failure = {"Could not find shader file: " + text};
        return std::nullopt;
    }
    std::optional<std::string> source = readWholeFile(resolved);
    if (!source)
        build.failure = {"Unable to load file[" + resolved + "]!"};
    return source;
}

// One compiled stage of `type`; none, with the failure lines set, otherwise.
StageHandle compileStage(const std::string& text, bool builtIn, GLenum type, ProgramBuild& build)
{
    const std::optional<std::string> source = readStage(text, builtIn, build);
    if (!source)
        return {};
    StageHandle stage(glCreateShader(type));
    if (!stage) {
        build.failure = {"Failed to create " + std::to_string(type)};
        return {};
    }
    // Passed zero-terminated: a file holding a NUL byte ends there for GL.
    const GLchar* sourceText = source->c_str();
    glShaderSource(stage.get(), 1, &sourceText, nullptr);
    glCompileShader(stage.get());
    GLint compiled = GL_FALSE;
    glGetShaderiv(stage.get(), GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_FALSE || !glIsShader(stage.get())) {
        build.failure = {"Failed to compile shader: " + text, infoLog(stage.get(), false)};
        return {};
    }
    if (!builtIn)
        build.progress.push_back("Read shader: " + text);
    return stage;
}

}  // namespace

ProgramBuild buildProgram(const ProgramSources& sources)
{
    ProgramBuild build;
    const StageHandle vertex = compileStage(sources.vertex, sources.builtIn, GL_VERTEX_SHADER, build);
    if (!vertex)
        return build;
    const StageHandle fragment = compileStage(sources.fragment, sources.builtIn, GL_FRAGMENT_SHADER, build);
    if (!fragment)
        return build;

    ProgramHandle program(glCreateProgram());
    glAttachShader(program.get(), vertex.get());
    glAttachShader(program.get(), fragment.get());
    glLinkProgram(program.get());
    GLint linked = GL_FALSE;
    glGetProgramiv(program.get(), GL_LINK_STATUS, &linked);
    if (linked == GL_FALSE) {
        build.failure = {"Failed to link shader program:", infoLog(program.get(), true)};
        return build;
    }
    glDetachShader(program.get(), vertex.get());
    glDetachShader(program.get(), fragment.get());
    build.program = std::move(program);
    return build;
}

Shader::Shader(const ProgramSources& sources)
{
    ProgramBuild build = buildProgram(sources);
    for (const std::string& line : build.progress)
        report(Severity::information, line);
    if (!build.failure.empty()) {
        std::string lines = build.failure.front();
        for (std::size_t i = 1; i < build.failure.size(); ++i)
            lines += '\n' + build.failure[i];
        report(Severity::fatal, lines);
    }
    program_ = std::move(build.program);
}

Shader::Shader(std::string vertexPath, std::string fragmentPath)
    : Shader(ProgramSources{std::move(vertexPath), std::move(fragmentPath), false})
{
}

Shader::Shader() : Shader(ProgramSources{defaultVertexSource, defaultFragmentSource, true}) {}

void Shader::use() const
{
    glUseProgram(program_.get());
}

GLint Shader::getUniformLocation(std::string_view name)
{
    const auto found = uniformLocations_.find(name);
    if (found != uniformLocations_.end())
        return found->second;
    const std::string& stored = uniformNames_.emplace_back(name);
    const GLint location = glGetUniformLocation(program_.get(), stored.c_str());
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

void Shader::setUniform(std::string_view name, const glm::vec2& value)
{
    const GLint location = getUniformLocation(name);
    if (location != -1)
        glUniform2f(location, value.x, value.y);
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
