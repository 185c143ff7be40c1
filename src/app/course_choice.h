// Player mode's course list on the title screen: every course found, each
// with its kept best time, the one flown selected; and a course picked there
// made the course of the next run.
#pragma once

#include "course_catalog.h"
#include "frame_loop.h"
#include "results.h"

#include <ostream>
#include <string>
#include <vector>

// Offers `listings` on the title with the course flown selected, added when
// they lack it; `flownFile` is the file it was read from when named by its
// path, else "". Best times come from `results`; none without them.
void offerCourses(App& app, std::vector<CourseListing> listings, const std::string& flownFile,
                  ResultsFile* results);

// Loads the course selected on the title and makes it the course of the next
// run: the run, its results' key, its ghost and the ghost take's header
// follow it, with "Course: <name>" on `console`. A course that cannot be
// loaded has its lines on `console`, and the course flown stays selected.
// Returns whether the course changed: its level is then still to be built.
bool takeSelectedCourse(App& app, RunOptions& run, std::ostream& console);
