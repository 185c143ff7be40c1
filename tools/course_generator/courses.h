// The shipped courses, easiest first, each with the words its file opens with.
#pragma once

#include "game/course.h"

#include <string>
#include <vector>

struct ShippedCourse {
    Course course;  // named as its file
    std::string comment;
};

std::vector<ShippedCourse> shippedCourses();
