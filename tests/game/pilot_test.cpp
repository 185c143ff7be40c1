// The scripted pilot flies the course the way a player would, at frame
// rates from a slow machine's to a fast one's.
#include "frames.h"
#include "pilot.h"

#include "game/flight.h"
#include "game/rings.h"
#include "game/simulation.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Messages = std::vector<std::string>;

constexpr float defaultFramesPerSecond = 60.0f;
constexpr float maxFlightSeconds = 60.0f;

struct FlightLog {
    Messages messages;
    int frames = 0;
    float finalPower = 0.0f;
};

// Each frame W held and the cursor where the pilot wants it; without a
// pilot, no input at all.
FlightLog fly(std::optional<Pilot> pilot, float framesPerSecond = defaultFramesPerSecond)
{
    Simulation simulation = makeSimulation(CameraSettings{}, CursorPosition{});
    FlightLog run;
    const int maxFrames = static_cast<int>(maxFlightSeconds * framesPerSecond);
    for (; run.frames < maxFrames; ++run.frames) {
        const SimulationInput input = pilot ? followFrame(1.0f / framesPerSecond, holding(true), pilot->aim(simulation))
                                            : followFrame(1.0f / framesPerSecond);
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
        const FlightLog run = fly(Pilot(winningRoute, 0.2f), framesPerSecond);
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
