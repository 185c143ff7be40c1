// Whether a course can be won, and how. The scripted pilot flies it at a
// fixed frame rate, holding W, leg by leg in course order: to each ring it
// tries a leg from the start and from every earlier ring it has reached,
// keeps the way that arrives with the most power in hand (then the most
// rings passed), and ends with the finish the same way. The rules let rings
// be passed in any order and the finish asks for none, so a ring the power
// cannot carry the fairy to from the one before is passed over, as a player
// would; the way to the finish may leave rings out.
//
// Three faults make a course unwinnable or unfair:
// - a hidden ring (or finish): its pass sphere lies wholly where the fairy's
//   centre never goes, behind the wall (beyond the horizontal limit) or
//   under the floor, so no flight can ever pass it;
// - an unreachable ring: no leg reaches it, from the start or from any ring
//   before it;
// - a finish no leg reaches: the power runs out on every way there.
// A leg that flies a whole minute with power left has lost its way.
#pragma once

#include "game/course.h"

#include <cstddef>
#include <optional>
#include <vector>

// The frame rates every course is flown at: a slow machine to a fast screen.
inline constexpr int checkedFrameRates[] = {5, 30, 60, 144};
// A leg that takes longer than this, with power left, has lost its way.
inline constexpr float checkedLegSeconds = 60.0f;

// Index of the first hidden ring, rings.size() for a hidden finish, or none.
std::optional<std::size_t> hiddenRing(const Course& course);

struct CourseFlight {
    int framesPerSecond = 0;
    // Power on arrival, before the refill, per ring and then the finish
    // (rings.size() + 1 entries), along the way that arrives at the finish
    // with the most power, or, when none does, at the last ring reached.
    std::vector<std::optional<float>> arrivals;
    std::optional<std::size_t> unreachable;  // the first ring no leg reaches
    bool won = false;
};

CourseFlight flyCourse(const Course& course, int framesPerSecond);
