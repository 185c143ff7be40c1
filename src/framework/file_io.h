// Small file helpers shared by the loaders. They never print and never
// block: only regular files count, so a directory, a named pipe, a device
// or a socket given as an asset is simply not there.
#pragma once

#include <optional>
#include <string>

// True when `path` names a regular file that can be opened for reading.
bool isReadableFile(const std::string& path);

// The whole file as bytes, or nothing when it is not a regular file or
// cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes all of `bytes` to the open descriptor, however many writes the
// system takes; false when one fails (a full disk, a size limit).
bool writeAll(int fd, const std::string& bytes);
