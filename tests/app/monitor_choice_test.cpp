#include "app/monitor_choice.h"

#include <gtest/gtest.h>

namespace {

ScreenRect window(int x, int y, int w, int h)
{
    return ScreenRect{x, y, w, h};
}

}  // namespace

TEST(MonitorChoice, NoMonitorsGivesNone)
{
    EXPECT_FALSE(chooseMonitor({}, window(0, 0, 800, 800)));
}

TEST(MonitorChoice, MonitorUnderTheCentreWins)
{
    const std::vector<ScreenRect> monitors{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    EXPECT_EQ(chooseMonitor(monitors, window(100, 100, 800, 600)), 0u);
    EXPECT_EQ(chooseMonitor(monitors, window(2000, 100, 800, 600)), 1u);
}

TEST(MonitorChoice, CentreOnTheSharedEdgeBelongsToTheRightMonitor)
{
    const std::vector<ScreenRect> monitors{{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}};
    // centre x = 1520 + 400 = 1920: outside [0, 1920), inside [1920, 3840)
    EXPECT_EQ(chooseMonitor(monitors, window(1520, 0, 800, 600)), 1u);
}

TEST(MonitorChoice, CentreOffEveryMonitorPicksTheNearestCentre)
{
    const std::vector<ScreenRect> monitors{{0, 0, 1000, 1000}, {3000, 0, 1000, 1000}};
    EXPECT_EQ(chooseMonitor(monitors, window(2500, 100, 200, 200)), 1u);  // centre (2600, 200)
    EXPECT_EQ(chooseMonitor(monitors, window(-900, 100, 200, 200)), 0u);
}

TEST(MonitorChoice, TiesGoToTheEarlierMonitor)
{
    const std::vector<ScreenRect> monitors{{0, 0, 1000, 1000}, {2000, 0, 1000, 1000}};
    EXPECT_EQ(chooseMonitor(monitors, window(1400, 400, 200, 200)), 0u);  // centre (1500, 500)
}

TEST(MonitorChoice, FarAwayWindowsDoNotOverflowTheDistance)
{
    const std::vector<ScreenRect> monitors{{0, 0, 1000, 1000}, {200000, 0, 1000, 1000}};
    EXPECT_EQ(chooseMonitor(monitors, window(150000, 0, 10, 10)), 1u);
    EXPECT_EQ(chooseMonitor(monitors, window(-150000, -150000, 10, 10)), 0u);
}
