// The fairy's movement: steering along the camera's axes, sinking, the
// floor and wall limits, and the fall after the power runs out.
// World units and seconds; knows nothing of keys beyond HeldKeys.
#pragma once

#include "game/input.h"

#include <glm/vec3.hpp>

struct Course;
struct GameState;

inline constexpr float flightSpeed = 2.5f;
inline constexpr float sinkingSpeed = 1.0f;
inline constexpr float fallingSpeed = 5.0f;
inline constexpr float floorHeight = 0.2f;

inline constexpr const char* gameOverMessage = " You fell back to the bottom. Game Over. \n";

// W, S, A, D as +front, -front, -right, +right; not normalised, so opposite
// keys cancel to zero.
glm::vec3 steeringVector(const HeldKeys& keys, glm::vec3 front, glm::vec3 right);

// One frame of steered flight: move, keep inside the course's wall, sink
// unless climbing, rest on the floor.
void steerFairy(GameState& state, const HeldKeys& keys, glm::vec3 front, glm::vec3 right, float deltaTime,
                const Course& course);

// One frame of the fall. Returns true when the fairy has reached the floor,
// which ends the game.
bool fallFairy(GameState& state, float deltaTime);

// The fall while `falling` is set, otherwise steered flight. Returns true
// when the game is lost this frame.
bool stepFairy(GameState& state, const HeldKeys& keys, glm::vec3 front, glm::vec3 right, float deltaTime,
               const Course& course);
