/* Preloaded into the game by one end-to-end case: the first buffer swap
 * makes one invalid GL call, so the case can show that the end-to-end GL
 * check sees a real GL error of the running game. */
#define _GNU_SOURCE
#include <dlfcn.h>

typedef void (*SwapBuffers)(void*);
typedef void (*Enable)(unsigned int);

void glfwSwapBuffers(void* window)
{
    static int planted = 0;
    if (!planted) {
        planted = 1;
        Enable enable = (Enable)dlsym(RTLD_DEFAULT, "glEnable");
        if (enable)
            enable(0x1234); /* no such capability: GL_INVALID_ENUM */
    }
    ((SwapBuffers)dlsym(RTLD_NEXT, "glfwSwapBuffers"))(window);
}
