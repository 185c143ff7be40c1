#include "framebuffer_check.h"

#include <cstdio>
#include <iostream>

bool checkBoundFramebuffer(std::string_view name, std::string_view consequence)
{
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status == GL_FRAMEBUFFER_COMPLETE)
        return true;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04X", static_cast<unsigned>(status));
    std::cout << "Framebuffer '" << name << "' is incomplete (" << hex << "): " << consequence << std::endl;
    return false;
}
