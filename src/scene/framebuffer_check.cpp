#include "framebuffer_check.h"

#include "framework/console.h"

#include <cstdio>
#include <string>

bool checkBoundFramebuffer(std::string_view name, std::string_view consequence)
{
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status == GL_FRAMEBUFFER_COMPLETE)
        return true;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04X", static_cast<unsigned>(status));
    report(Severity::warning, "Framebuffer '" + std::string(name) + "' is incomplete (" + hex + "): " +
                                  std::string(consequence));
    return false;
}
