// Passing rings and reaching the finish. Rings may be passed in any order;
// the pass and finish tests are strict spheres around the centres, tested
// against the whole path the fairy travelled in the frame, so a slow frame
// cannot carry it through a ring unseen.
#pragma once

#include <glm/vec3.hpp>

#include <string>

struct Course;
struct GameState;

inline constexpr const char* winMessage = " You reached the finish point and won! \n";

// Distance from `point` to the segment from `from` to `to`.
float distanceToPath(glm::vec3 point, glm::vec3 from, glm::vec3 to);

// Marks the lowest-numbered unpassed ring of `course` whose centre the path
// from `pathStart` to the fairy's position came within the pass radius of,
// counts it and refills the power (capped at full). At most one ring per
// call. Returns its index, or -1 when none was passed. Rings beyond the
// length of `ringPassed` are ignored.
int passRing(GameState& state, glm::vec3 pathStart, const Course& course);

// "Passed ring N (Total: M)" with its line end; N counts from 1.
std::string ringPassedMessage(int ringIndex, int totalPassed);

// True when the path from `from` to `to` came within the course's finish radius.
bool reachedFinish(glm::vec3 from, glm::vec3 to, const Course& course);
