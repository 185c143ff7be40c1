#include "gl_test_context.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

std::vector<std::string>& recordedMessages()
{
    static std::vector<std::string> messages;
    return messages;
}

void GLAPIENTRY recordDebugMessage(GLenum, GLenum, GLuint id, GLenum, GLsizei, const GLchar* message,
                                   const void*)
{
    std::string text = "GL debug message " + std::to_string(id) + ": " + message;
    std::fprintf(stderr, "%s\n", text.c_str());
    recordedMessages().push_back(text);
}

void reportGlfwError(int code, const char* description)
{
    std::fprintf(stderr, "GLFW error %d: %s\n", code, description);
}

}  // namespace

std::vector<std::string>& GlTest::debugMessages()
{
    return recordedMessages();
}

namespace {

GLFWwindow* tryCreateHiddenGlWindow(int width, int height)
{
    glfwSetErrorCallback(reportGlfwError);
    if (!glfwInit())
        return nullptr;
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);  // Mesa reports only to a debug context
    return glfwCreateWindow(width, height, "glimmerdeep test", nullptr, nullptr);
}

}  // namespace

GLFWwindow* createHiddenGlWindow(int width, int height)
{
    // The shared X server now and then refuses a connection while many test
    // processes start at once; a moment later it accepts.
    GLFWwindow* window = nullptr;
    for (int attempt = 0; attempt < 5 && !window; ++attempt) {
        if (attempt > 0) {
            glfwTerminate();
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        window = tryCreateHiddenGlWindow(width, height);
    }
    if (!window)
        return nullptr;
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        return nullptr;
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(recordDebugMessage, nullptr);
    return window;
}

void GlTest::SetUp()
{
    debugMessages().clear();
    window = createHiddenGlWindow(windowWidth, windowHeight);
    ASSERT_NE(window, nullptr) << "no GL 4.3 context: is DISPLAY set to an X server (Xvfb)?";
    glViewport(0, 0, windowWidth, windowHeight);
}

void GlTest::TearDown()
{
    if (window) {
        glFinish();
        glfwDestroyWindow(window);
        window = nullptr;
    }
    EXPECT_TRUE(debugMessages().empty()) << "first GL debug message: "
                                         << (debugMessages().empty() ? "" : debugMessages().front());
    debugMessages().clear();
}

std::vector<unsigned char> GlTest::readPixels(int x, int y, int width, int height) const
{
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void drawCoveringTriangle(float z)
{
    const float vertices[] = {-1.0f, -1.0f, z, 3.0f, -1.0f, z, -1.0f, 3.0f, z};
    GLuint vertexArray = 0;
    GLuint buffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glBindVertexArray(0);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
}
