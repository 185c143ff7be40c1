// The Glimmerdeep benchmark: the real game's frames, headless, timed and
// counted. See conductor.h for the run as a whole and measurement.h for one
// measuring process.
#include "conductor.h"
#include "measurement.h"
#include "options.h"

#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    auto options = parseBenchOptions(argc, argv, std::cerr);
    if (!options)
        return 2;
    for (std::string* path : {&options->outPath, &options->workDir, &options->resultsPath})
        if (!path->empty())
            *path = std::filesystem::absolute(*path).string();
    // The game reads its models relative to the working directory, from the repository root.
    std::filesystem::current_path(GLIMMERDEEP_SOURCE_DIR);
    if (!options->measure)
        return conductBench(*options);

    MeasurementOptions measurement;
    measurement.width = options->measure->width;
    measurement.height = options->measure->height;
    measurement.frames = options->frames;
    measurement.callgrindFrames = options->callgrindFrames.value_or(0);
    measurement.loadersOnly = options->loadersOnly;
    measurement.spawnedAtNs = options->spawnedAtNs;
    measurement.resultsPath = options->resultsPath;
    return runMeasurement(measurement);
}
