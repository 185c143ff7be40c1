#include "replay_writer.h"

#include <cerrno>
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
    flush();
    ::close(fd_);
    fd_ = -1;
}

ReplayWriter::~ReplayWriter()
{
    if (fd_ >= 0) {
        flush();
        ::close(fd_);
    }
}

// Whole lines only, in as few writes as the system takes.
bool ReplayWriter::flush()
{
    lastFlush_ = std::chrono::steady_clock::now();
    std::size_t written = 0;
    while (written < pending_.size()) {
        const ssize_t count = ::write(fd_, pending_.data() + written, pending_.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += static_cast<std::size_t>(count);
    }
    pending_.clear();
    return true;
}
