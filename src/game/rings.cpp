// Ring passing and the finish test.
#include "game/rings.h"

#include "game/course.h"
#include "game/game_state.h"

#include <glm/geometric.hpp>

#include <algorithm>

float distanceToPath(glm::vec3 point, glm::vec3 from, glm::vec3 to)
{
    const glm::vec3 path = to - from;
    const float lengthSquared = glm::dot(path, path);
    if (lengthSquared == 0.0f)
        return glm::distance(point, to);
    const float along = std::clamp(glm::dot(point - from, path) / lengthSquared, 0.0f, 1.0f);
    return glm::distance(point, from + path * along);
}

int passRing(GameState& state, glm::vec3 pathStart, const Course& course)
{
    const std::size_t rings = std::min(course.rings.size(), state.ringPassed.size());
    for (std::size_t i = 0; i < rings; ++i) {
        if (state.ringPassed[i])
            continue;
        if (distanceToPath(course.rings[i], pathStart, state.fairyPosition) < course.ringPassRadius) {
            state.ringPassed[i] = true;
            state.totalPassed += 1;
            state.fairyPower = std::min(state.fairyPower + course.refillPerRing, course.fullPower);
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string ringPassedMessage(int ringIndex, int totalPassed)
{
    return "Passed ring " + std::to_string(ringIndex + 1) + " (Total: " +
           std::to_string(totalPassed) + ")\n";
}

bool reachedFinish(glm::vec3 from, glm::vec3 to, const Course& course)
{
    return distanceToPath(course.finish, from, to) < course.finishRadius;
}
