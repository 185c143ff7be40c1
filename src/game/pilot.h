// A scripted pilot that flies a course the way a player would: each frame
// it moves the cursor so the camera faces its next waypoint. The replays the
// tests play, the frame-rate test of the rules and the course check fly with it.
#pragma once

#include "game/input.h"
#include "game/simulation.h"

#include <cstddef>
#include <vector>

// On the classic course: straight up the axis to ring 10, then up the
// near-axis rings to the flag (ring indices count from 0). Power: about 3.6 s
// to ring 10 leaves some 28 before its refill; every later leg is shorter
// than its ring's 30.
inline const std::vector<int> winningRoute = {9, 10, 11, 13, 14};

// Every ring of a course of `ringCount` rings, in course order.
std::vector<int> everyRing(std::size_t ringCount);

class Pilot {
public:
    // `offCentre` aims that far beside each ring's centre, as a player would.
    explicit Pilot(std::vector<int> rings, float offCentre = 0.0f, CursorPosition start = {});

    // The cursor position that turns the follow camera onto the first ring
    // of the route not yet passed, or onto the flag after the last.
    CursorPosition aim(const Simulation& simulation);

private:
    std::vector<int> rings_;
    float offCentre_;
    std::size_t next_ = 0;
    CursorPosition cursor_;
};
