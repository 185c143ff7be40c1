#include "replay_writer.h"

#include "framework/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Written out at least this often, and whenever this much is pending, so
// the memory it takes stays the same at any frame rate.
constexpr auto flushInterval = std::chrono::seconds(1);
constexpr std::size_t flushSize = 64 * 1024;

}  // namespace

bool ReplayWriter::open(const std::string& path, const ReplayHeader& header)
{
    path_ = path;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return false;
    pending_.reserve(2 * flushSize);  // never grows
    pending_ = formatReplayHeader(header);
    return flush().empty();
}

void ReplayWriter::writeFrame(const ReplayFrame& frame)
{
    if (fd_ < 0)
        return;
    pending_ += formatReplayFrame(frame);
    if (pending_.size() >= flushSize || std::chrono::steady_clock::now() - lastFlush_ >= flushInterval)
        flushOrStop();
}

void ReplayWriter::finish(std::uint64_t hash)
{
    if (fd_ < 0)
        return;
    pending_ += formatReplayEnd(hash);
    flushAndClose();
}

ReplayWriter::~ReplayWriter()
{
    if (fd_ >= 0)
        flushAndClose();
}

void ReplayWriter::flushAndClose()
{
    flushOrStop();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void ReplayWriter::flushOrStop()
{
    const std::string failure = flush();
    if (!failure.empty())
        console_ << "Cannot record to '" << path_ << "': " << failure
                 << ". The recording stops at its last whole frame." << std::endl;
}

// Whole lines only, in as few writes as the system takes.
std::string ReplayWriter::flush()
{
    lastFlush_ = std::chrono::steady_clock::now();
    errno = 0;
    if (writeAll(fd_, pending_)) {
        fileSize_ += static_cast<off_t>(pending_.size());
        pending_.clear();
        return "";
    }
    const std::string failure = errno != 0 ? std::strerror(errno) : "the system took no more of it";
    // Of what reached the file only whole lines stay: a replay that ends
    // inside a line does not play. Writing on could repeat part of a line.
    const off_t reached = ::lseek(fd_, 0, SEEK_CUR) - fileSize_;  // of what was pending
    const std::size_t lineEnd =
        reached > 0 ? pending_.rfind('\n', static_cast<std::size_t>(reached - 1)) : std::string::npos;
    const off_t whole = fileSize_ + (lineEnd == std::string::npos ? 0 : static_cast<off_t>(lineEnd + 1));
    // Shrinking a file fails only with the disk itself; the reader then names the cut line.
    [[maybe_unused]] const int cut = ::ftruncate(fd_, whole);
    ::close(fd_);
    fd_ = -1;
    return failure;
}
