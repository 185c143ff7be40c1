#include "replay_writer.h"

#include "framework/file_io.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr auto flushInterval = std::chrono::seconds(1);

}  // namespace

bool ReplayWriter::open(const std::string& path, const ReplayHeader& header)
{
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return false;
    // A second of frames at a fast rate fits without growing.
    pending_.reserve(64 * 1024);
    pending_ = formatReplayHeader(header);
    return flush();
}

void ReplayWriter::writeFrame(const ReplayFrame& frame)
{
    if (fd_ < 0)
        return;
    pending_ += formatReplayFrame(frame);
    if (std::chrono::steady_clock::now() - lastFlush_ >= flushInterval)
        flush();
}

void ReplayWriter::finish(std::uint64_t hash)
{
    if (fd_ < 0)
        return;
    pending_ += formatReplayEnd(hash);
    if (flush()) {
        ::close(fd_);
        fd_ = -1;
    }
}

ReplayWriter::~ReplayWriter()
{
    if (fd_ >= 0 && flush())
        ::close(fd_);
}

// Whole lines only, in as few writes as the system takes.
bool ReplayWriter::flush()
{
    lastFlush_ = std::chrono::steady_clock::now();
    if (!writeAll(fd_, pending_)) {
        // What reached the file stays; writing on could repeat part of it.
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    pending_.clear();
    return true;
}
