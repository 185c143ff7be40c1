// Scripted frames for driving the simulation in tests: fixed time steps,
// held keys and a cursor position, an 800x600 framebuffer.
#pragma once

#include "game/simulation.h"

inline HeldKeys holding(bool forward, bool back = false, bool left = false, bool right = false)
{
    return HeldKeys{forward, back, left, right, false, false};
}

inline SimulationInput followFrame(float deltaTime, HeldKeys keys = {}, CursorPosition cursor = {})
{
    return SimulationInput{deltaTime, keys, cursor, 800, 600, false};
}

inline SimulationInput freeFrame(float deltaTime, HeldKeys keys = {}, CursorPosition cursor = {})
{
    return SimulationInput{deltaTime, keys, cursor, 800, 600, true};
}
