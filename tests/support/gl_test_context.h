// Test harness for code that talks to OpenGL: a hidden 4.3 core-profile
// window on the X display (Xvfb with llvmpipe in CI) with GL debug output
// enabled. Any debug message fails the running test.
#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

class GlTest : public ::testing::Test {
protected:
    static constexpr int defaultWidth = 64;
    static constexpr int defaultHeight = 64;

    void SetUp() override;
    void TearDown() override;

    // Debug messages seen since SetUp; TearDown fails the test when not empty.
    // Tests that provoke a message on purpose may clear it.
    static std::vector<std::string>& debugMessages();

    // RGBA8 pixels of the current read framebuffer, bottom row first.
    std::vector<unsigned char> readPixels(int x, int y, int width, int height) const;

    GLFWwindow* window = nullptr;
    // Fixtures that need a bigger window set these in their constructor.
    int windowWidth = defaultWidth;
    int windowHeight = defaultHeight;
};

// The hidden window's size is `width` by `height` for tests that need more.
GLFWwindow* createHiddenGlWindow(int width, int height);

// One triangle over the whole viewport, its attribute 0 at depth `z`.
void drawCoveringTriangle(float z = 0.0f);
