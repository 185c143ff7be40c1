// Writing a replay while the run is played: the header first, then a line
// per frame, kept in memory and written out whole at least once a second
// and at the end, so a run cut short (Escape, a crash, a kill) leaves a file
// that ends after a whole frame and plays up to there.
#pragma once

#include "replay.h"

#include <chrono>
#include <string>

class ReplayWriter {
public:
    // Creates or truncates `path` and writes the header; false when the file
    // cannot be written.
    bool open(const std::string& path, const ReplayHeader& header);
    void writeFrame(const ReplayFrame& frame);
    // The end line with the run's hash, then everything out to the file.
    void finish(std::uint64_t hash);
    ~ReplayWriter();

private:
    bool flush();

    int fd_ = -1;
    std::string pending_;
    std::chrono::steady_clock::time_point lastFlush_;
};
