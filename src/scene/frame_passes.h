// The passes that draw one frame of the level, in order: the scene into the
// floating-point target, the glow and the composite to the window, then the
// overlay.
#pragma once

#include "game/simulation.h"

#include <vector>

struct Level;
class RenderTargets;

struct FrameParameters {
    CameraView view;
    float time = 0.0f;  // the frame's clock value, seconds
    bool particlesEnabled = true;
    bool waterAnimationEnabled = true;
    bool drawNormals = false;
    bool overlayEnabled = true;
    bool wireframe = false;        // the scene's own geometry only
    bool backfaceCulling = false;  // likewise
    float fairyPower = 0.0f;
    int framebufferWidth = 0;
    int framebufferHeight = 0;
};

// Camera and lights for the texture program, which keeps them for the
// rings, the fairy and the models of the frame.
void uploadCameraAndLights(Level& level, const CameraView& view);

// Steps 1 to 8 of the frame: the scene into the floating-point target, which
// stays bound. drawFrame runs them first; the benchmark times them alone.
void drawScenePasses(Level& level, const RenderTargets& targets, const std::vector<bool>& ringPassed,
                     const FrameParameters& frame);

// Draws the frame; ringPassed says which rings are gone.
void drawFrame(Level& level, const RenderTargets& targets, const std::vector<bool>& ringPassed,
               const FrameParameters& frame);
