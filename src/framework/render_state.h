// The renderer's debug and quality switches and the GL state they control.
#pragma once

// The size of the glow's blur targets against the framebuffer's: smaller
// targets cost a quarter or a sixteenth of the blur's pixels.
enum class BloomResolution { full = 1, half = 2, quarter = 4 };

// full: the settings as they stand; automatic: on a software renderer the
// game lowers the render scale and the glow's targets to stay fluid.
enum class RenderQuality { full, automatic };

struct RendererSettings {
    bool wireframe = false;
    bool backface_culling = false;
    bool normals = false;    // water shows its normals
    bool texcoords = false;  // flipped by T; reserved for a texture-coordinate view
    bool depthtest = true;
    BloomResolution bloom_resolution = BloomResolution::full;
    double render_scale = 1.0;  // the scene's size against the window's, 0.25 to 1
    RenderQuality quality = RenderQuality::full;
};

// Sky blue, the clear colour of the whole run.
constexpr float skyColor[4] = {0.529f, 0.808f, 0.922f, 1.0f};

// Blending, depth test, culling, polygon mode and clear colour at start-up.
void applyInitialRenderState(const RendererSettings& settings);

// GL state behind the wireframe and culling switches, applied when they flip.
void applyPolygonMode(bool wireframe);
void applyFaceCulling(bool enabled);
