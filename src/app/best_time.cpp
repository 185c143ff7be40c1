#include "best_time.h"

#include "framework/console.h"

std::optional<double> keptBestTime(ResultsFile* results)
{
    if (!results)
        return std::nullopt;
    ReportingStream warnings(Severity::warning);
    return results->load(warnings).bestTime;
}
