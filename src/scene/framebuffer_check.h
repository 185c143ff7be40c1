// Whether an off-screen target the game draws into was accepted by the
// driver. A driver may refuse a format; the game then plays on without
// what that target carries, and says so once, when the target is made.
#pragma once

#include <GL/glew.h>

#include <string_view>

// Checks the framebuffer bound to GL_FRAMEBUFFER. When it is incomplete, one
// warning names it, the status and what the player loses:
// "Framebuffer 'bloom' is incomplete (0x8CD6): the glow is not drawn."
bool checkBoundFramebuffer(std::string_view name, std::string_view consequence);
