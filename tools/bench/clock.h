// The one clock of the benchmark: CLOCK_MONOTONIC, which every process on
// the machine shares, so a parent's spawn time and a child's reading compare.
#pragma once

#include <chrono>
#include <cstdint>

using BenchClock = std::chrono::steady_clock;

inline std::int64_t nowNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(BenchClock::now().time_since_epoch()).count();
}

inline double millisecondsBetween(std::int64_t startNs, std::int64_t endNs)
{
    return static_cast<double>(endNs - startNs) / 1.0e6;
}

// Milliseconds a callable takes on the wall clock.
template <typename Callable>
double timeMilliseconds(Callable&& callable)
{
    const std::int64_t start = nowNanoseconds();
    callable();
    return millisecondsBetween(start, nowNanoseconds());
}
