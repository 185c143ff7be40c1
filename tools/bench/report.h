// The one table the bench prints: start-up, frame times, pass times against
// the single-fetch floor, per-frame counts and instructions, one column per
// size, with the targets beside them and notes on how each was measured.
#pragma once

#include "callgrind_split.h"
#include "options.h"
#include "results.h"

#include <string>
#include <vector>

struct SizeRun {
    FrameSize size;
    Results results;  // medians of the runs
    int runs = 1;
    int exitStatus = -1;
    int debugMessages = 0;  // "OpenGL Error" lines in its log
    std::string logPath;
};

struct CallgrindRun {
    std::string skippedBecause;  // empty when it ran
    FrameSize size;
    int frames = 0;
    int exitStatus = -1;
    std::string logPath;
    std::string ourObject;
    CallgrindSplit split;
};

struct MachineInfo {
    std::string cpu;
    int cores = 0;
    std::string loadBefore;  // 1-minute load average when the bench started
    std::string loadAfter;
    std::string threads;     // LP_NUM_THREADS as set, or the driver's default
};

std::string formatReport(const std::vector<SizeRun>& runs, const CallgrindRun& callgrind, const MachineInfo& machine);
