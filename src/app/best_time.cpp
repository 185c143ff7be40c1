#include "best_time.h"

#include "framework/console.h"

std::optional<double> keptBestTime(ResultsFile* results, const CourseId& course)
{
    if (!results)
        return std::nullopt;
    ReportingStream warnings(Severity::warning);
    return results->load(warnings).of(course).bestTime;
}
