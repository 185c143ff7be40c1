// Writing a replay while the run is played: the header first, then a line
// per frame, kept in memory and written out whole at least once a second
// (more often at high frame rates) and at the end, so a run cut short (Escape, a crash, a kill) leaves a file
// that ends after a whole frame and plays up to there. A write that fails
// (a full disk) stops the recording with one console line; the file keeps
// its whole lines and still plays.
#pragma once

#include "replay.h"

#include <sys/types.h>

#include <chrono>
#include <ostream>
#include <string>

class ReplayWriter {
public:
    explicit ReplayWriter(std::ostream& console) : console_(console) {}
    ReplayWriter(const ReplayWriter&) = delete;
    ReplayWriter& operator=(const ReplayWriter&) = delete;
    ~ReplayWriter();

    // Creates or truncates `path` and writes the header; false, and nothing
    // said, when the file cannot be written.
    bool open(const std::string& path, const ReplayHeader& header);
    void writeFrame(const ReplayFrame& frame);
    // The end line with the run's hash, then everything out to the file.
    void finish(std::uint64_t hash);

private:
    // What is pending out to the file; why it failed, or "".
    std::string flush();
    // flush, and on a failure the one line that says the recording stops.
    void flushOrStop();
    void flushAndClose();

    std::ostream& console_;
    std::string path_;
    int fd_ = -1;
    off_t fileSize_ = 0;  // what the file holds: whole lines only
    std::string pending_;
    std::chrono::steady_clock::time_point lastFlush_;
};
