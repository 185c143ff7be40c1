// Passing rings and reaching the finish. Rings may be passed in any order;
// the pass and finish tests are strict spheres around the centres.
#pragma once

#include <glm/vec3.hpp>

#include <cstddef>
#include <string>

struct GameState;

inline constexpr const char* winMessage = " You reached the finish point and won! \n";

// Marks the lowest-numbered unpassed ring within the pass radius of the
// fairy, counts it and refills the power (capped). At most one ring per
// call. Returns its index, or -1 when none was passed. Rings beyond the
// length of `ringPassed` are ignored.
int passRing(GameState& state, const glm::vec3* centres, std::size_t count);

// The same against the course's rings.
int passRing(GameState& state);

// "Passed ring N (Total: M)" with its line end; N counts from 1.
std::string ringPassedMessage(int ringIndex, int totalPassed);

bool reachedFinish(glm::vec3 fairyPosition);
