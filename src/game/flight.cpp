// Fairy flight and fall.
#include "game/flight.h"

#include "game/course.h"
#include "game/game_state.h"
#include "game/well_bounds.h"

#include <glm/geometric.hpp>

#include <algorithm>

glm::vec3 steeringVector(const HeldKeys& keys, glm::vec3 front, glm::vec3 right)
{
    glm::vec3 steering(0.0f);
    if (keys.forward)
        steering += front;
    if (keys.back)
        steering -= front;
    if (keys.left)
        steering -= right;
    if (keys.right)
        steering += right;
    return steering;
}

void steerFairy(GameState& state, const HeldKeys& keys, glm::vec3 front, glm::vec3 right, float deltaTime,
                const Course& course)
{
    glm::vec3 steering = steeringVector(keys, front, right);
    if (glm::length(steering) > 0.0f) {
        steering = glm::normalize(steering);
        state.fairyPosition += steering * flightSpeed * deltaTime;
    }
    state.fairyPosition = clampToWellRadius(state.fairyPosition, fairyHorizontalLimit(course));

    float& height = state.fairyPosition.y;
    if (steering.y <= 0.0f && height > floorHeight)
        height -= sinkingSpeed * deltaTime;
    height = std::max(height, floorHeight);
}

bool fallFairy(GameState& state, float deltaTime)
{
    float& height = state.fairyPosition.y;
    height -= fallingSpeed * deltaTime;
    if (height > floorHeight)
        return false;
    height = floorHeight;
    return true;
}

bool stepFairy(GameState& state, const HeldKeys& keys, glm::vec3 front, glm::vec3 right, float deltaTime,
               const Course& course)
{
    if (state.falling)
        return fallFairy(state, deltaTime);
    steerFairy(state, keys, front, right, deltaTime, course);
    return false;
}
