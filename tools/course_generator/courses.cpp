// The courses' shapes: a few rules each, so a course can be reshaped by
// changing a number and regenerating.
#include "courses.h"

#include <cmath>

namespace {

constexpr float degrees = 3.14159265f / 180.0f;

// To a thousandth: the files stay readable, and a player may edit them by hand.
float rounded(float value)
{
    return std::round(value * 1000.0f) / 1000.0f + 0.0f;  // and never -0
}

glm::vec3 aroundAxis(float radius, float angleDegrees, float height)
{
    const float angle = angleDegrees * degrees;
    return {rounded(radius * std::cos(angle)), rounded(height), rounded(radius * std::sin(angle))};
}

// Flag at the finish, the small cloud under it, as on the classic course.
void placeFinish(Course& course, glm::vec3 finish)
{
    course.finish = finish;
    course.flag = finish;
    course.cloud = finish - glm::vec3(0.0f, 2.0f, 0.0f);
}

Course firstFlight()
{
    Course course;
    course.name = "first_flight";
    course.rings.clear();
    for (int i = 0; i < 10; ++i)
        course.rings.push_back(aroundAxis(i % 2 == 0 ? 0.8f : 1.2f, 90.0f * static_cast<float>(i),
                                          1.5f + 1.6f * static_cast<float>(i)));
    course.ringPassRadius = 0.5f;
    course.drainPerSecond = 12.0f;
    course.refillPerRing = 40.0f;
    course.finishRadius = 1.5f;
    placeFinish(course, {1.5f, 21.5f, 0.0f});
    return course;
}

Course spiral()
{
    Course course;
    course.name = "spiral";
    course.rings.clear();
    for (int i = 0; i < 24; ++i)
        course.rings.push_back(aroundAxis(3.0f, 45.0f * static_cast<float>(i), 1.0f + 0.75f * static_cast<float>(i)));
    placeFinish(course, {3.0f, 21.5f, 0.0f});
    return course;
}

Course wallZigzag()
{
    Course course;
    course.name = "wall_zigzag";
    course.rings.clear();
    for (int i = 0; i < 18; ++i)
        course.rings.push_back(aroundAxis(4.5f, 50.0f * static_cast<float>(i), 1.0f + 1.0f * static_cast<float>(i)));
    course.ringPassRadius = 0.3f;
    course.refillPerRing = 32.0f;
    placeFinish(course, aroundAxis(4.5f, 50.0f * 18.0f, 21.5f));  // one more step around
    return course;
}

Course deepWell()
{
    Course course;
    course.name = "deep_well";
    course.rings.clear();
    course.wellDepth = 36.0f;
    for (int i = 0; i < 6; ++i)
        course.rings.push_back(aroundAxis(1.5f, 120.0f * static_cast<float>(i), 4.0f + 5.5f * static_cast<float>(i)));
    course.refillPerRing = 45.0f;
    placeFinish(course, {0.0f, 38.0f, 0.0f});
    return course;
}

}  // namespace

std::vector<ShippedCourse> shippedCourses()
{
    return {
        {firstFlight(), "First flight: ten wide rings close together near the axis, slow to drain and\n"
                        "generous to refill. For a first game."},
        {Course{}, "The classic course: fifteen rings climbing the well in a zig-zag to the flag\n"
                   "above the rim."},
        {spiral(), "Spiral: twenty-four rings winding three times around the well, each a short hop\n"
                   "from the one before."},
        {wallZigzag(), "Wall zig-zag: eighteen rings close to the wall, each a long way around from the\n"
                       "one before, with narrow rings and a refill that barely covers a leg."},
        {deepWell(), "Deep well: a well almost twice as deep with six rings far apart; each ring\n"
                     "must be reached on what is left of the last refill."},
    };
}
