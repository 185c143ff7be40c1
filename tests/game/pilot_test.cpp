// A scripted pilot flies the course the way a player would: each frame it
// moves the mouse so the camera faces its next waypoint and holds W.
#include "frames.h"

#include "game/course.h"
#include "game/flight.h"
#include "game/mouse_look.h"
#include "game/rings.h"
#include "game/simulation.h"

#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/vec2.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Messages = std::vector<std::string>;

constexpr float defaultFramesPerSecond = 60.0f;
constexpr float maxFlightSeconds = 60.0f;

// Straight up the axis to ring 10, then up the near-axis rings to the
// flag. Ring indices count from 0. Power: about 3.6 s to ring 10 leaves
// some 28 before its refill; every later leg is shorter than its ring's 30.
const std::vector<int> route = {9, 10, 11, 13, 14};

class Pilot {
public:
    // `offCentre` aims that far beside each ring's centre, as a player would.
    explicit Pilot(std::vector<int> rings, float frameTime = 1.0f / defaultFramesPerSecond, float offCentre = 0.0f)
        : rings_(std::move(rings)), frameTime_(frameTime), offCentre_(offCentre)
    {
    }

    // The frame's input: a cursor move that turns the camera onto the
    // waypoint, and W held.
    SimulationInput nextFrame(const Simulation& simulation)
    {
        const GameState& state = simulation.state;
        while (next_ < rings_.size() && state.ringPassed[rings_[next_]])
            ++next_;
        const glm::vec3 target = next_ < rings_.size()
                                     ? ringPositions[rings_[next_]] + glm::vec3(offCentre_, 0.0f, 0.0f)
                                     : finishPoint;
        const glm::vec3 toTarget = target - state.fairyPosition;
        const float wantedYaw = std::atan2(toTarget.x, toTarget.z);
        const float wantedPitch =
            std::atan2(toTarget.y, glm::length(glm::vec2(toTarget.x, toTarget.z)));

        float yawTurn = wantedYaw - state.cameraYaw;
        yawTurn = std::remainder(yawTurn, 2.0f * glm::pi<float>());
        // yaw -= dx * sensitivity; pitch += dy * sensitivity, dy = lastY - y.
        const float sensitivity = simulation.camera.mouseSensitivity;
        cursor_.x -= yawTurn / sensitivity;
        cursor_.y -= (wantedPitch - state.cameraPitch) / sensitivity;
        return followFrame(frameTime_, holding(true), cursor_);
    }

private:
    std::vector<int> rings_;
    float frameTime_;
    float offCentre_;
    std::size_t next_ = 0;
    CursorPosition cursor_{};
};

struct FlightLog {
    Messages messages;
    int frames = 0;
    float finalPower = 0.0f;
};

FlightLog fly(std::optional<Pilot> pilot, float framesPerSecond = defaultFramesPerSecond)
{
    Simulation simulation = makeSimulation(CameraSettings{}, CursorPosition{});
    FlightLog run;
    const int maxFrames = static_cast<int>(maxFlightSeconds * framesPerSecond);
    for (; run.frames < maxFrames; ++run.frames) {
        const SimulationInput input =
            pilot ? pilot->nextFrame(simulation) : followFrame(1.0f / framesPerSecond);
        const SimulationStep step = stepSimulation(simulation, input);
        run.messages.insert(run.messages.end(), step.messages.begin(), step.messages.end());
        if (step.closeRequested)
            break;
    }
    run.finalPower = simulation.state.fairyPower;
    return run;
}

}  // namespace

// The same rings and the win whether the machine draws 5 frames a second or
// 144, on a path 0.2 beside the rings' centres, where a slow frame can jump
// over the ring's sphere.
TEST(Pilot, FliesThroughItsRingsToTheFlagAndWinsAtAnyFrameRate)
{
    for (float framesPerSecond : {5.0f, 10.0f, 30.0f, 60.0f, 144.0f}) {
        const FlightLog run = fly(Pilot(route, 1.0f / framesPerSecond, 0.2f), framesPerSecond);
        EXPECT_EQ(run.messages, (Messages{"Passed ring 10 (Total: 1)\n", "Passed ring 11 (Total: 2)\n",
                                          "Passed ring 12 (Total: 3)\n", "Passed ring 14 (Total: 4)\n",
                                          "Passed ring 15 (Total: 5)\n", winMessage}))
            << framesPerSecond << " frames per second";
        EXPECT_GT(run.finalPower, 0.0f);
    }
}

TEST(Pilot, WithoutRingsRunsOutOfPowerOnTheWay)
{
    const FlightLog run = fly(Pilot({}));
    ASSERT_FALSE(run.messages.empty());
    EXPECT_EQ(run.messages.back(), gameOverMessage);
    for (const std::string& message : run.messages)
        EXPECT_NE(message, winMessage);
}

TEST(Pilot, DoingNothingLoses)
{
    const FlightLog run = fly(std::nullopt);
    EXPECT_EQ(run.messages, (Messages{powerDepletedMessage, gameOverMessage}));
    EXPECT_NEAR(run.frames + 1, 300, 1);  // five seconds at 60 fps
}
