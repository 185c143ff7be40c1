// The best time the player's kept results hold, as the title and result
// screens show it.
#pragma once

#include "results.h"

#include <optional>

// None before the first win, and none when the results are not kept.
std::optional<double> keptBestTime(ResultsFile* results);
