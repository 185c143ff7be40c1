// --check-course: the course check's table and verdict as console lines.
#pragma once

#include "game/course.h"

#include <ostream>

// Flies `course` at every checked frame rate and writes, per ring and for
// the finish, the power left on arrival at each rate and the margin (the
// least of them), then "winnable" or the first ring that cannot be reached
// and why. True when the course is winnable at every rate.
bool reportCourseCheck(const Course& course, std::ostream& out);
