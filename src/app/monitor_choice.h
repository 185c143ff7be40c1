// Which monitor a window belongs on: the one under its centre, else the one
// whose centre is nearest (the earliest on a tie). Pure integer arithmetic
// over monitor rectangles, so it can be tested without monitors.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Index into `monitors`, or nothing when the list is empty.
std::optional<std::size_t> chooseMonitor(const std::vector<ScreenRect>& monitors, const ScreenRect& window);
