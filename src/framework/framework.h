// Framework start and stop around the GL context, and the callback that turns
// OpenGL debug output into console lines. Creating the window, loading GLEW
// and registering the callback are the caller's business.
#pragma once

#include <GL/glew.h>

#include <string>

// Checks that a context is current (the caller, who made it, says so) and
// that GLEW reports OpenGL 3.0, then makes the built-in program current when
// no program is. False after printing why.
bool initFramework(bool contextIsCurrent);

// Drops the built-in program made by initFramework, leaving no program current.
// Safe to call when nothing was made, and more than once.
void destroyFramework();

// GLDEBUGPROC: reports each message as one formatDebugMessage line, at the
// severity the driver gave it (a notification is information, high an
// error, the rest warnings), except IDs 131185 and 131218, which it drops.
void GLAPIENTRY onDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                               GLsizei length, const GLchar* message, const void* userParam);

// "OpenGL Error: <message> [Source=API, Type=ERROR, Severity=HIGH, ID=<id>]";
// each enum is named without its GL_DEBUG_... prefix, unknown values in hex.
std::string formatDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                               const char* message);
