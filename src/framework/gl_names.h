// Deleting GL names the way every owner here does: only a non-zero name is
// deleted, and the variable holds 0 afterwards, so deleting twice is harmless.
#pragma once

#include <GL/glew.h>

void deleteBuffer(GLuint& name);
void deleteVertexArray(GLuint& name);
void deleteTexture(GLuint& name);
void deleteFramebuffer(GLuint& name);
void deleteRenderbuffer(GLuint& name);
