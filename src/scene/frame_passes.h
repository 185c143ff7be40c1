// One frame of the level drawn as a numbered list of passes: the camera and
// lights, the scene into the floating-point target, the glow and the
// composite to the window, then the HUD. Every GL call of a frame happens
// in drawFrame, each pass setting the state it needs.
#pragma once

#include "game/fairy_placement.h"
#include "game/hud_layout.h"
#include "game/menu.h"
#include "game/simulation.h"

#include <optional>

struct GameState;
struct Level;
class ParticlePool;
class RenderTargets;

// What one frame draws, taken from the rules' state and the switches.
struct FrameParameters {
    CameraView view;
    std::optional<FairyPlacement> fairy;     // set in frames the fairy moved
    const GameState* game = nullptr;         // rings passed, power
    float powerShare = 0.0f;                 // the power as a share of the course's full store
    const ParticlePool* particles = nullptr;  // null while the trail is off
    float time = 0.0f;                       // the frame's clock value, seconds
    bool waterAnimationEnabled = true;
    bool drawNormals = false;
    bool overlayEnabled = true;
    HudStatus hud;                 // the HUD's words, and its pause sign while hud.paused
    bool wireframe = false;        // the scene's own geometry only
    bool backfaceCulling = false;  // likewise
    const Menu* menu = nullptr;    // a menu showing, drawn in the HUD's place whatever overlayEnabled says
    std::optional<glm::vec3> ghost;  // where the best run's fairy is, when it is shown
};

// The passes of a frame as an observer sees them.
enum class FramePass { scene, blurHorizontal, blurVertical, composite, hud };

// Told when each pass of drawFrame begins and ends, so that a benchmark can
// time the real passes. The blur passes are told one by one.
class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    virtual void passBegins(FramePass pass) = 0;
    virtual void passEnds(FramePass pass) = 0;
};

// Draws the frame into the window's framebuffer, which has the targets' size.
void drawFrame(Level& level, const RenderTargets& targets, const FrameParameters& frame,
               FrameObserver* observer = nullptr);
