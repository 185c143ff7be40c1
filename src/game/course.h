// A course: everything the rules and the level take from it. The rings in
// course order, the finish and the radii that decide passing and winning,
// the well, the fairy's start, its power, and where the flag and the small
// cloud stand. World units, seconds and power units; y up, the well's axis
// is x = z = 0, its floor y = 0. A Course{} is the classic course, the one
// assets/courses/classic.ini describes with the same numbers.
#pragma once

#include <glm/vec3.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// More rings than this are refused: the sound keeps one bit a ring.
inline constexpr std::size_t maxCourseRings = 64;
// The fairy's body: its centre stays this far inside the wall.
inline constexpr float fairyBodyRadius = 0.1f;

struct Course {
    std::string name = "classic";  // the file's stem
    std::uint64_t fileHash = 0;    // courseHash of the file's bytes; 0 when built in code
    std::vector<glm::vec3> rings = {
        {-3.0f, 1.0f, 0.0f}, {3.0f, 1.8f, -2.0f},  {-2.5f, 2.6f, 3.5f},  {2.5f, 3.4f, -3.5f}, {-3.5f, 4.2f, 2.5f},
        {3.5f, 5.0f, -1.5f}, {-1.5f, 5.8f, 3.0f},  {1.5f, 6.6f, -3.0f},  {-2.0f, 7.4f, 2.0f}, {0.0f, 9.76f, 0.0f},
        {-1.0f, 11.0f, 1.0f}, {1.0f, 12.5f, -1.0f}, {-1.5f, 14.0f, 2.5f}, {2.0f, 15.5f, -2.5f}, {0.0f, 17.0f, 0.0f},
    };
    glm::vec3 finish{4.5f, 22.26f, 0.0f};
    // A ring's outer edge: ring radius 0.2 plus tube radius 0.06.
    float ringPassRadius = 0.26f;
    float finishRadius = 1.0f;
    float wellDepth = 20.0f;
    float wellRadius = 5.0f;
    glm::vec3 fairyStart{0.0f, 0.5f, 0.0f};
    float fullPower = 100.0f;
    float drainPerSecond = 20.0f;
    float refillPerRing = 30.0f;
    glm::vec3 flag{4.5f, 22.26f, 0.0f};
    glm::vec3 cloud{4.5f, 20.26f, 0.0f};
};

// The largest distance of the fairy's centre from the axis: its body then touches the wall.
float fairyHorizontalLimit(const Course& course);

// FNV-1a 64 of a course file's bytes: two files play alike only if they hash alike.
std::uint64_t courseHash(const std::string& bytes);
