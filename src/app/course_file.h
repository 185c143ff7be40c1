// Course files: the INI text of a course, read into a Course and written
// from one. Every key is one row of courseKeys(), which drives the reader,
// the writer and the documentation. A course that cannot be played is
// refused whole, with one line for each fault naming the file, the line and
// the key; nothing of it is used.
#pragma once

#include "game/course.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

enum class CourseKeyKind { number, point, points };

struct CourseKey {
    const char* section;
    const char* name;
    CourseKeyKind kind;
    const char* meaning;
};
const std::vector<CourseKey>& courseKeys();

// The course in `bytes`, read as the file at `path` (its stem is the name,
// the bytes' courseHash its fileHash), or nothing after one "ERROR:" line on
// `console` for each fault: a line that is no key, an unknown or repeated
// key, a missing key, a value that is not a finite number or point, a value
// out of range, no ring or more than maxCourseRings, a ring outside the well
// or lower than the one before it, a finish below the last ring.
std::optional<Course> readCourse(const std::string& path, const std::string& bytes, std::ostream& console);

// The course as a file that reads back to the same numbers, after `comment`
// (lines that each get a leading "; ").
std::string formatCourse(const Course& course, const std::string& comment);
