#include "app/monitor_choice.h"

#include <gtest/gtest.h>

// The monitor under the window's centre, else the one whose centre is
// nearest, the earlier one on a tie; none without monitors.
TEST(MonitorChoice, TheMonitorUnderOrNearestTheWindowsCentre)
{
    const struct {
        std::vector<ScreenRect> monitors;
        ScreenRect window;
        std::optional<std::size_t> chosen;
    } cases[] = {
        {{}, {0, 0, 800, 800}, std::nullopt},
        {{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}}, {100, 100, 800, 600}, 0},
        {{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}}, {2000, 100, 800, 600}, 1},
        // Centre x 1920: outside [0, 1920), inside [1920, 3840).
        {{{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}}, {1520, 0, 800, 600}, 1},
        {{{0, 0, 1000, 1000}, {3000, 0, 1000, 1000}}, {2500, 100, 200, 200}, 1},  // centre (2600, 200)
        {{{0, 0, 1000, 1000}, {3000, 0, 1000, 1000}}, {-900, 100, 200, 200}, 0},
        {{{0, 0, 1000, 1000}, {2000, 0, 1000, 1000}}, {1400, 400, 200, 200}, 0},  // centre (1500, 500): a tie
        // Far away, the squared distances must not overflow.
        {{{0, 0, 1000, 1000}, {200000, 0, 1000, 1000}}, {150000, 0, 10, 10}, 1},
        {{{0, 0, 1000, 1000}, {200000, 0, 1000, 1000}}, {-150000, -150000, 10, 10}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooseMonitor(c.monitors, c.window), c.chosen) << "window at " << c.window.x << ", " << c.window.y;
}
