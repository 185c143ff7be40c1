// Counts the live GL objects of each kind in the current context by asking
// GL about every name up to a bound, so tests can show that frames create
// nothing and that teardown leaves nothing behind.
#pragma once

#include <GL/glew.h>

struct GlObjectCensus {
    int textures = 0;
    int buffers = 0;
    int vertexArrays = 0;
    int framebuffers = 0;
    int renderbuffers = 0;
    int programs = 0;
    int shaders = 0;

    int total() const
    {
        return textures + buffers + vertexArrays + framebuffers + renderbuffers + programs + shaders;
    }
    bool operator==(const GlObjectCensus& other) const;
};

GlObjectCensus countLiveGlObjects(GLuint highestName = 2048);
