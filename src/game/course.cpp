// What follows from a course's numbers.
#include "game/course.h"

#include "game/fnv1a.h"

float fairyHorizontalLimit(const Course& course)
{
    return course.wellRadius - fairyBodyRadius;
}

std::uint64_t courseHash(const std::string& bytes)
{
    Fnv1a hash;
    hash.add(bytes.data(), bytes.size());
    return hash.value();
}
