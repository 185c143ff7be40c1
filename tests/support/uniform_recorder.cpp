#include "uniform_recorder.h"

#include <utility>

namespace {

std::vector<UniformUpload> recorded;
int queries = 0;

PFNGLGETUNIFORMLOCATIONPROC realGetUniformLocation = nullptr;
PFNGLUNIFORM1IPROC real1i = nullptr;
PFNGLUNIFORM1FPROC real1f = nullptr;
PFNGLUNIFORM3FPROC real3f = nullptr;
PFNGLUNIFORM4FPROC real4f = nullptr;
PFNGLUNIFORMMATRIX3FVPROC realMatrix3 = nullptr;
PFNGLUNIFORMMATRIX4FVPROC realMatrix4 = nullptr;

std::string uniformNameAt(GLuint program, GLint location)
{
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[256] = {};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type, name);
        std::string text(name);
        if (text.size() > 3 && text.compare(text.size() - 3, 3, "[0]") == 0)
            text.resize(text.size() - 3);
        if (realGetUniformLocation(program, text.c_str()) == location)
            return text;
    }
    return "?";
}

void record(GLint location, const char* kind, std::vector<float> values)
{
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    recorded.push_back(UniformUpload{static_cast<GLuint>(program),
                                     uniformNameAt(static_cast<GLuint>(program), location), kind,
                                     std::move(values)});
}

GLint GLAPIENTRY getLocation(GLuint program, const GLchar* name)
{
    ++queries;
    return realGetUniformLocation(program, name);
}
void GLAPIENTRY uniform1i(GLint location, GLint v)
{
    record(location, "1i", {static_cast<float>(v)});
    real1i(location, v);
}
void GLAPIENTRY uniform1f(GLint location, GLfloat v)
{
    record(location, "1f", {v});
    real1f(location, v);
}
void GLAPIENTRY uniform3f(GLint location, GLfloat x, GLfloat y, GLfloat z)
{
    record(location, "3f", {x, y, z});
    real3f(location, x, y, z);
}
void GLAPIENTRY uniform4f(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w)
{
    record(location, "4f", {x, y, z, w});
    real4f(location, x, y, z, w);
}
void GLAPIENTRY matrix3(GLint location, GLsizei count, GLboolean transpose, const GLfloat* value)
{
    record(location, "m3", std::vector<float>(value, value + 9));
    realMatrix3(location, count, transpose, value);
}
void GLAPIENTRY matrix4(GLint location, GLsizei count, GLboolean transpose, const GLfloat* value)
{
    record(location, "m4", std::vector<float>(value, value + 16));
    realMatrix4(location, count, transpose, value);
}

}  // namespace

UniformRecorder::UniformRecorder()
{
    clear();
    realGetUniformLocation = std::exchange(__glewGetUniformLocation, getLocation);
    real1i = std::exchange(__glewUniform1i, uniform1i);
    real1f = std::exchange(__glewUniform1f, uniform1f);
    real3f = std::exchange(__glewUniform3f, uniform3f);
    real4f = std::exchange(__glewUniform4f, uniform4f);
    realMatrix3 = std::exchange(__glewUniformMatrix3fv, matrix3);
    realMatrix4 = std::exchange(__glewUniformMatrix4fv, matrix4);
}

UniformRecorder::~UniformRecorder()
{
    __glewGetUniformLocation = realGetUniformLocation;
    __glewUniform1i = real1i;
    __glewUniform1f = real1f;
    __glewUniform3f = real3f;
    __glewUniform4f = real4f;
    __glewUniformMatrix3fv = realMatrix3;
    __glewUniformMatrix4fv = realMatrix4;
}

const std::vector<UniformUpload>& UniformRecorder::uploads() const
{
    return recorded;
}

std::vector<std::string> UniformRecorder::names() const
{
    std::vector<std::string> names;
    for (const UniformUpload& upload : recorded)
        names.push_back(upload.name);
    return names;
}

int UniformRecorder::locationQueries() const
{
    return queries;
}

void UniformRecorder::clear()
{
    recorded.clear();
    queries = 0;
}
