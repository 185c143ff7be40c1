#include "framework.h"

#include "console.h"
#include "shader.h"

#include <cstdio>
#include <memory>

namespace {

// The framework's own program, from initFramework to destroyFramework.
std::unique_ptr<Shader> defaultShader;

std::string hexName(GLenum value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value));
    return text;
}

std::string sourceName(GLenum source)
{
    switch (source) {
    case GL_DEBUG_SOURCE_API: return "API";
    case GL_DEBUG_SOURCE_WINDOW_SYSTEM: return "WINDOW_SYSTEM";
    case GL_DEBUG_SOURCE_SHADER_COMPILER: return "SHADER_COMPILER";
    case GL_DEBUG_SOURCE_THIRD_PARTY: return "THIRD_PARTY";
    case GL_DEBUG_SOURCE_APPLICATION: return "APPLICATION";
    case GL_DEBUG_SOURCE_OTHER: return "OTHER";
    default: return hexName(source);
    }
}

std::string typeName(GLenum type)
{
    switch (type) {
    case GL_DEBUG_TYPE_ERROR: return "ERROR";
    case GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR: return "DEPRECATED_BEHAVIOR";
    case GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR: return "UNDEFINED_BEHAVIOR";
    case GL_DEBUG_TYPE_PORTABILITY: return "PORTABILITY";
    case GL_DEBUG_TYPE_PERFORMANCE: return "PERFORMANCE";
    case GL_DEBUG_TYPE_MARKER: return "MARKER";
    case GL_DEBUG_TYPE_PUSH_GROUP: return "PUSH_GROUP";
    case GL_DEBUG_TYPE_POP_GROUP: return "POP_GROUP";
    case GL_DEBUG_TYPE_OTHER: return "OTHER";
    default: return hexName(type);
    }
}

std::string severityName(GLenum severity)
{
    switch (severity) {
    case GL_DEBUG_SEVERITY_HIGH: return "HIGH";
    case GL_DEBUG_SEVERITY_MEDIUM: return "MEDIUM";
    case GL_DEBUG_SEVERITY_LOW: return "LOW";
    case GL_DEBUG_SEVERITY_NOTIFICATION: return "NOTIFICATION";
    default: return hexName(severity);
    }
}

// Only the driver's own grading counts: its notes are information, however
// the line's fixed prefix reads.
Severity reportedSeverity(GLenum severity)
{
    switch (severity) {
    case GL_DEBUG_SEVERITY_HIGH: return Severity::error;
    case GL_DEBUG_SEVERITY_NOTIFICATION: return Severity::information;
    default: return Severity::warning;
    }
}

}  // namespace

bool initFramework(bool contextIsCurrent)
{
    if (!contextIsCurrent) {
        report(Severity::error, "No context available. Exiting.");
        return false;
    }
    if (!GLEW_VERSION_3_0) {
        report(Severity::error, "GLEW not available. Exiting.");
        return false;
    }
    GLint currentProgram = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &currentProgram);
    if (currentProgram == 0) {
        defaultShader = std::make_unique<Shader>();
        defaultShader->use();
    }
    return true;
}

void destroyFramework()
{
    defaultShader.reset();
}

void GLAPIENTRY onDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                               GLsizei /*length*/, const GLchar* message, const void* /*userParam*/)
{
    // Driver chatter about buffer placement and shader recompiles (NVIDIA).
    if (id == 131185 || id == 131218)
        return;
    report(reportedSeverity(severity), formatDebugMessage(source, type, id, severity, message));
}

std::string formatDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                               const char* message)
{
    return "OpenGL Error: " + std::string(message ? message : "") + " [Source=" + sourceName(source) +
           ", Type=" + typeName(type) + ", Severity=" + severityName(severity) +
           ", ID=" + std::to_string(id) + "]";
}
