// Order statistics of a series of timings.
#pragma once

#include <vector>

// The value at fraction p (0..1) of the sorted series, nearest rank; 0 for none.
double percentile(std::vector<double> values, double p);

inline double median(const std::vector<double>& values)
{
    return percentile(values, 0.5);
}
