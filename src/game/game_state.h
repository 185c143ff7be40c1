// The running game's record: made at the start of a run and made anew when
// the player restarts (R). Positions in world units, angles in radians.
#pragma once

#include "game/camera_settings.h"
#include "game/course.h"

#include <glm/vec3.hpp>

#include <vector>

struct GameState {
    glm::vec3 fairyPosition{0.0f};
    float fairyPower = 0.0f;
    bool falling = false;  // set once when the power runs out; never cleared
    int totalPassed = 0;
    std::vector<bool> ringPassed;  // one a ring of the course
    float cameraYaw = 0.0f;
    float cameraPitch = 0.0f;
};

// The start of a run on `course`, with the follow camera turned as the settings say.
GameState makeGameState(const CameraSettings& camera, const Course& course);
