// Which course a run is played on: the stem of its file and a 64-bit hash
// of the file's bytes, so a changed file counts as another course. Results,
// replays and ghosts are kept under both.
#pragma once

#include <cstdint>
#include <string>

struct CourseId {
    std::string name;  // the course file's stem, e.g. "classic"
    std::uint64_t hash = 0;
};

inline bool operator==(const CourseId& a, const CourseId& b)
{
    return a.name == b.name && a.hash == b.hash;
}

inline bool operator!=(const CourseId& a, const CourseId& b)
{
    return !(a == b);
}

// The one course a record from before course files can belong to.
inline constexpr const char* classicCourseName = "classic";
