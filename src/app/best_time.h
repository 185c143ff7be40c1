// The best time the player's kept results hold, as the title and result
// screens show it.
#pragma once

#include "results.h"
#include "game/course_id.h"

#include <optional>

// The course's; none before its first win, and none when the results are not kept.
std::optional<double> keptBestTime(ResultsFile* results, const CourseId& course);
