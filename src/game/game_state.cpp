// Start values of a run.
#include "game/game_state.h"

GameState makeGameState(const CameraSettings& camera)
{
    GameState state;
    state.cameraYaw = camera.yaw;
    state.cameraPitch = camera.pitch;
    return state;
}
