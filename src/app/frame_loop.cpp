#include "frame_loop.h"

#include <GLFW/glfw3.h>

#include <iostream>

namespace {

bool isHeld(GLFWwindow* window, int key)
{
    return glfwGetKey(window, key) == GLFW_PRESS;
}

}  // namespace

FrameInput readFrameInput(GLFWwindow* window)
{
    FrameInput input;
    input.clock = glfwGetTime();
    input.keys.forward = isHeld(window, GLFW_KEY_W);
    input.keys.back = isHeld(window, GLFW_KEY_S);
    input.keys.left = isHeld(window, GLFW_KEY_A);
    input.keys.right = isHeld(window, GLFW_KEY_D);
    input.keys.up = isHeld(window, GLFW_KEY_SPACE);
    input.keys.down = isHeld(window, GLFW_KEY_LEFT_SHIFT);
    glfwGetCursorPos(window, &input.cursor.x, &input.cursor.y);
    glfwGetFramebufferSize(window, &input.framebufferWidth, &input.framebufferHeight);
    return input;
}

void runFrameLoop(App& app)
{
    app.lastFrameTime = glfwGetTime();
    while (!glfwWindowShouldClose(app.window)) {
        glfwPollEvents();
        const FrameResult result = runFrame(app, readFrameInput(app.window), std::cout);
        if (result.closeRequested)
            glfwSetWindowShouldClose(app.window, GLFW_TRUE);
        glfwSwapBuffers(app.window);
    }
}
