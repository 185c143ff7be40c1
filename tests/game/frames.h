// Scripted frames for driving the simulation in tests: fixed time steps,
// held keys and a cursor position, an 800x600 framebuffer.
#pragma once

#include "game/simulation.h"

inline HeldKeys holding(bool forward, bool back = false, bool left = false, bool right = false)
{
    return HeldKeys{forward, back, left, right, false, false};
}

// One frame of the camera mode the simulation is in.
inline SimulationStep play(Simulation& simulation, float deltaTime, HeldKeys keys = {}, CursorPosition cursor = {})
{
    return stepSimulation(simulation, deltaTime, keys, cursor, 800.0f / 600.0f);
}
