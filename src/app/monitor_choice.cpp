#include "monitor_choice.h"

#include <cstdint>
#include <limits>

namespace {

bool contains(const ScreenRect& monitor, int x, int y)
{
    return monitor.x <= x && x < monitor.x + monitor.width && monitor.y <= y && y < monitor.y + monitor.height;
}

// Larger is nearer. Widened to 64 bits so far-off monitors cannot overflow.
std::int64_t nearnessScore(const ScreenRect& monitor, int x, int y)
{
    const std::int64_t dx = std::int64_t(x) - monitor.width / 2 - monitor.x;
    const std::int64_t dy = std::int64_t(y) - monitor.height / 2 - monitor.y;
    return std::int64_t(std::numeric_limits<std::int32_t>::max()) - dy * dy - dx * dx;
}

}  // namespace

std::optional<std::size_t> chooseMonitor(const std::vector<ScreenRect>& monitors, const ScreenRect& window)
{
    const int centreX = window.width / 2 + window.x;
    const int centreY = window.height / 2 + window.y;
    std::optional<std::size_t> nearest;
    std::int64_t bestScore = std::numeric_limits<std::int64_t>::min();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (contains(monitors[i], centreX, centreY))
            return i;
        const std::int64_t score = nearnessScore(monitors[i], centreX, centreY);
        if (score > bestScore) {
            bestScore = score;
            nearest = i;
        }
    }
    return nearest;
}
