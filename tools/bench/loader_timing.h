// The loaders buildLevel calls, timed one kind at a time outside it: the
// level's programs, its textures, its models and the lightmap bake, each
// from the same files. Meant for a process that has only opened its window,
// so each kind pays its first-use costs as it does inside buildLevel.
#pragma once

struct LoaderTimes {
    double shaders = 0.0;   // milliseconds for all the level's programs
    double textures = 0.0;  // the six DDS textures, with the mipmaps rebuilt where the level does
    double models = 0.0;    // the three OBJ models, read and uploaded
    double bake = 0.0;      // a new lightmap baked, through glFinish
    int shaderCount = 0;
    int textureCount = 0;
    int modelCount = 0;
};

// Leaves framebuffer 0 bound with the viewport of the render targets, as the bake does.
LoaderTimes timeLoaders(int renderTargetWidth, int renderTargetHeight);
