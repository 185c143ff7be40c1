// The fixed course: ring centres in course order, the finish point and the
// radii that decide passing and winning. World units, y up, the well's axis
// is x = z = 0.
#pragma once

#include <glm/vec3.hpp>

#include <array>
#include <cstddef>

inline constexpr std::size_t ringCount = 15;

inline const std::array<glm::vec3, ringCount> ringPositions = {{
    {-3.0f, 1.0f, 0.0f},
    {3.0f, 1.8f, -2.0f},
    {-2.5f, 2.6f, 3.5f},
    {2.5f, 3.4f, -3.5f},
    {-3.5f, 4.2f, 2.5f},
    {3.5f, 5.0f, -1.5f},
    {-1.5f, 5.8f, 3.0f},
    {1.5f, 6.6f, -3.0f},
    {-2.0f, 7.4f, 2.0f},
    {0.0f, 9.76f, 0.0f},
    {-1.0f, 11.0f, 1.0f},
    {1.0f, 12.5f, -1.0f},
    {-1.5f, 14.0f, 2.5f},
    {2.0f, 15.5f, -2.5f},
    {0.0f, 17.0f, 0.0f},
}};

inline const glm::vec3 finishPoint{4.5f, 22.26f, 0.0f};

// A ring's outer edge: ring radius 0.2 plus tube radius 0.06.
inline constexpr float ringPassRadius = 0.26f;
inline constexpr float finishRadius = 1.0f;
inline constexpr float ringPowerRefill = 30.0f;
