// Power drain and the start of the fall.
#include "game/power.h"

#include "game/course.h"
#include "game/game_state.h"

#include <algorithm>

bool drainPower(GameState& state, float deltaTime, const Course& course)
{
    state.fairyPower = std::max(state.fairyPower - course.drainPerSecond * deltaTime, 0.0f);
    if (state.falling || state.fairyPower > 0.0f)
        return false;
    state.falling = true;
    return true;
}
