// Start values of a run.
#include "game/game_state.h"

GameState makeGameState(const CameraSettings& camera, const Course& course)
{
    GameState state;
    state.fairyPosition = course.fairyStart;
    state.fairyPower = course.fullPower;
    state.ringPassed.assign(course.rings.size(), false);
    state.cameraYaw = camera.yaw;
    state.cameraPitch = camera.pitch;
    return state;
}
