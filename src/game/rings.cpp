// Ring passing and the finish test.
#include "game/rings.h"

#include "game/course.h"
#include "game/game_state.h"
#include "game/power.h"

#include <glm/geometric.hpp>

#include <algorithm>

int passRing(GameState& state, const glm::vec3* centres, std::size_t count)
{
    const std::size_t rings = std::min(count, state.ringPassed.size());
    for (std::size_t i = 0; i < rings; ++i) {
        if (state.ringPassed[i])
            continue;
        if (glm::distance(state.fairyPosition, centres[i]) < ringPassRadius) {
            state.ringPassed[i] = true;
            state.totalPassed += 1;
            state.fairyPower = std::min(state.fairyPower + ringPowerRefill, maxFairyPower);
            return static_cast<int>(i);
        }
    }
    return -1;
}

int passRing(GameState& state)
{
    return passRing(state, ringPositions.data(), ringPositions.size());
}

std::string ringPassedMessage(int ringIndex, int totalPassed)
{
    return "Passed ring " + std::to_string(ringIndex + 1) + " (Total: " +
           std::to_string(totalPassed) + ")\n";
}

bool reachedFinish(glm::vec3 fairyPosition)
{
    return glm::distance(fairyPosition, finishPoint) < finishRadius;
}
