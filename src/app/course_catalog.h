// Where courses are found: the shipped ones under assets/courses/ and the
// player's own in the data folders' courses/ (see data_folder.h), by name,
// or any course file by its path; and the list of every course by name.
#pragma once

#include "game/course.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The course played when none is asked for.
inline constexpr const char* defaultCourseName = "classic";

// A course the game can find by name, and its file.
struct CourseListing {
    std::string name;
    std::string path;
};

// Every course found by name, sorted by name; where two places hold the
// same name, the one the asset search reaches first.
std::vector<CourseListing> availableCourses();

// True when `nameOrFile` names a file (it holds a '/' or ends in ".ini")
// rather than a course by name.
bool namesCourseFile(const std::string& nameOrFile);

// The course `nameOrFile` names, read; nothing after its lines on `console`
// when it cannot be found, read or played.
std::optional<Course> loadCourse(const std::string& nameOrFile, std::ostream& console);

// The course asked for on the command line, or else the classic course:
// its file, or, in a tree without one, the same numbers built into the game.
std::optional<Course> loadCourseToFly(const std::optional<std::string>& asked, std::ostream& console);
