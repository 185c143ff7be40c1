// course_generator <folder>: writes every shipped course into the folder
// (assets/courses in the repository) as the game reads it.
#include "courses.h"

#include "app/course_file.h"
#include "common/generator_output.h"

int main(int argc, char** argv)
{
    const auto folder = outputFolder(argc, argv, "usage: course_generator <output folder>");
    if (!folder)
        return 2;
    for (const ShippedCourse& shipped : shippedCourses())
        if (!writeOutputFile(*folder, shipped.course.name + ".ini", formatCourse(shipped.course, shipped.comment)))
            return 1;
    return 0;
}
