// One frame of the game without a window: the app turns its input record
// into a time step, held keys, a cursor and an aspect ratio, calls
// stepSimulation and acts on the SimulationStep (console lines, the window,
// the drawing). Seconds, world units, radians except where a name says degrees.
#pragma once

#include "game/camera_settings.h"
#include "game/fairy_placement.h"
#include "game/free_camera.h"
#include "game/game_state.h"
#include "game/input.h"
#include "game/menu.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <optional>
#include <string>
#include <vector>

// The longest step the game takes in one frame, seconds: a stall (a window
// drag, a paused process) costs at most this much play.
inline constexpr double maxTimeStep = 0.25;

// The frame's time step from two clock readings in seconds, kept in double
// so that hours of play lose no precision; never negative, at most maxTimeStep.
float frameTimeStep(double clock, double previousClock);

struct CameraView {
    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    glm::mat4 viewProjection{1.0f};  // projection * view
    glm::vec3 eye{0.0f};
};

struct Simulation {
    CameraSettings camera;
    Course course;
    float fovRadians = 0.0f;
    GameState state;
    FreeCamera freeCamera;
    bool freeCameraMode = false;  // the free camera moves, the fairy stands still
    CursorPosition lastCursor;  // the previous frame's cursor, in both modes
    double runTime = 0.0;       // seconds of play since the run began
    CameraView view;            // the last frame's camera, kept while paused
};

// startCursor is the cursor read right after it was captured, so the first
// frame turns only by what moved since. Also a restart: a new run from the
// same settings on the same course.
Simulation makeSimulation(const CameraSettings& camera, CursorPosition startCursor, const Course& course);

// The last frame's view with a projection of this aspect ratio: what a
// frame that stands still shows, also after a resize.
CameraView pausedView(const Simulation& simulation, float aspect);

// How the run ended in a frame, if it did.
enum class RunEnd { none, won, lost };

// What one frame of the rules did.
struct SimulationStep {
    float timeStep = 0.0f;  // the step the game took, seconds
    CameraView view;
    std::optional<FairyPlacement> fairy;  // set when the fairy moved (follow mode)
    int ringPassed = -1;                  // index of the ring passed this frame, or -1
    bool powerRanOut = false;             // the power was emptied this frame
    std::vector<std::string> messages;    // console lines in the order they happened
    RunEnd end = RunEnd::none;            // won or lost in this frame
    MenuChoice menu;                      // what a menu asked for in this frame
};

// Power drain, then the follow or free camera (as freeCameraMode says) with
// the fairy, the projection, the ring test and the finish test, in that order.
SimulationStep stepSimulation(Simulation& simulation, float deltaTime, const HeldKeys& keys, CursorPosition cursor,
                              float aspect);
