// The fairy's power store: the steady drain and its depletion. Power units,
// seconds. Refills come from the rings (rings.h).
#pragma once

struct Course;
struct GameState;

inline constexpr const char* powerDepletedMessage = " Fairy power depleted! Falling... \n";

// Drains the power by deltaTime, never below 0. Returns true in the one call
// that empties the store and starts the fall.
bool drainPower(GameState& state, float deltaTime, const Course& course);
