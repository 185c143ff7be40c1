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

constexpr float frameTime = 1.0f / 60.0f;
constexpr int maxFrames = 60 * 60;

// Straight up the axis to ring 10, then up the near-axis rings to the
// flag. Ring indices count from 0. Power: about 3.6 s to ring 10 leaves
// some 28 before its refill; every later leg is shorter than its ring's 30.
const std::vector<int> route = {9, 10, 11, 13, 14};

class Pilot {
public:
    explicit Pilot(std::vector<int> rings) : rings_(std::move(rings)) {}

    // The frame's input: a cursor move that turns the camera onto the
    // waypoint, and W held.
    SimulationInput nextFrame(const Simulation& simulation)
    {
        const GameState& state = simulation.state;
        while (next_ < rings_.size() && state.ringPassed[rings_[next_]])
            ++next_;
        const glm::vec3 target = next_ < rings_.size() ? ringPositions[rings_[next_]] : finishPoint;
        const glm::vec3 toTarget = target - state.fairyPosition;
        const float wantedYaw = std::atan2(toTarget.x, toTarget.z);
        const float wantedPitch =
            std::atan2(toTarget.y, glm::length(glm::vec2(toTarget.x, toTarget.z)));

        float yawTurn = wantedYaw - state.cameraYaw;
        yawTurn = std::remainder(yawTurn, 2.0f * glm::pi<float>());
        // yaw -= dx * sensitivity; pitch += dy * sensitivity, dy = lastY - y.
        cursor_.x -= yawTurn / mouseSensitivity;
        cursor_.y -= (wantedPitch - state.cameraPitch) / mouseSensitivity;
        return followFrame(frameTime, holding(true), cursor_);
    }

private:
    std::vector<int> rings_;
    std::size_t next_ = 0;
    CursorPosition cursor_{};
};

struct FlightLog {
    Messages messages;
    int frames = 0;
    float finalPower = 0.0f;
};

FlightLog fly(std::optional<Pilot> pilot)
{
    Simulation simulation = makeSimulation(CameraSettings{}, CursorPosition{});
    FlightLog run;
    for (; run.frames < maxFrames; ++run.frames) {
        const SimulationInput input = pilot ? pilot->nextFrame(simulation) : followFrame(frameTime);
        const SimulationStep step = stepSimulation(simulation, input);
        run.messages.insert(run.messages.end(), step.messages.begin(), step.messages.end());
        if (step.closeRequested)
            break;
    }
    run.finalPower = simulation.state.fairyPower;
    return run;
}

}  // namespace

TEST(Pilot, FliesThroughItsRingsToTheFlagAndWins)
{
    const FlightLog run = fly(Pilot(route));
    EXPECT_EQ(run.messages, (Messages{"Passed ring 10 (Total: 1)\n", "Passed ring 11 (Total: 2)\n",
                                      "Passed ring 12 (Total: 3)\n", "Passed ring 14 (Total: 4)\n",
                                      "Passed ring 15 (Total: 5)\n", winMessage}));
    EXPECT_LT(run.frames, maxFrames);
    EXPECT_GT(run.finalPower, 0.0f);
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
