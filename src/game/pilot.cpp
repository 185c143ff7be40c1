#include "game/pilot.h"

#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/vec2.hpp>

#include <cmath>
#include <utility>

Pilot::Pilot(std::vector<int> rings, float offCentre, CursorPosition start)
    : rings_(std::move(rings)), offCentre_(offCentre), cursor_(start)
{
}

CursorPosition Pilot::aim(const Simulation& simulation)
{
    const GameState& state = simulation.state;
    while (next_ < rings_.size() && state.ringPassed[rings_[next_]])
        ++next_;
    const glm::vec3 target = next_ < rings_.size()
                                 ? simulation.course.rings[rings_[next_]] + glm::vec3(offCentre_, 0.0f, 0.0f)
                                 : simulation.course.finish;
    const glm::vec3 toTarget = target - state.fairyPosition;
    const float wantedYaw = std::atan2(toTarget.x, toTarget.z);
    const float wantedPitch = std::atan2(toTarget.y, glm::length(glm::vec2(toTarget.x, toTarget.z)));

    // Mouse look: yaw -= dx * sensitivity, pitch += (lastY - y) * sensitivity.
    const float yawTurn = std::remainder(wantedYaw - state.cameraYaw, 2.0f * glm::pi<float>());
    const float sensitivity = simulation.camera.mouseSensitivity;
    cursor_.x -= yawTurn / sensitivity;
    cursor_.y -= (wantedPitch - state.cameraPitch) / sensitivity;
    return cursor_;
}

std::vector<int> everyRing(std::size_t ringCount)
{
    std::vector<int> rings(ringCount);
    for (std::size_t i = 0; i < ringCount; ++i)
        rings[i] = static_cast<int>(i);
    return rings;
}
