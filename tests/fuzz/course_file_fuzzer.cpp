// libFuzzer entry for the course reader: any bytes must be read without a
// crash; a refusal always says why; a course it accepts has one to 64
// finite rings and writes out as a file that reads back to the same course.
#include "app/course_file.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>

namespace {

bool finite(glm::vec3 point)
{
    return std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    std::ostringstream lines;
    const std::optional<Course> course =
        readCourse("fuzz.ini", std::string(reinterpret_cast<const char*>(bytes), size), lines);
    if (!course) {
        if (lines.str().empty())
            __builtin_trap();
        return 0;
    }
    if (!lines.str().empty() || course->rings.empty() || course->rings.size() > maxCourseRings)
        __builtin_trap();
    for (const glm::vec3& ring : course->rings)
        if (!finite(ring))
            __builtin_trap();
    const std::optional<Course> again = readCourse("fuzz.ini", formatCourse(*course, "again"), lines);
    if (!again || again->rings != course->rings || again->finish != course->finish ||
        again->fullPower != course->fullPower || again->wellRadius != course->wellRadius)
        __builtin_trap();
    return 0;
}
