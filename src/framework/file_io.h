// Small file helpers shared by the loaders and by the files the game keeps.
// They never print and never block: only regular files count, so a
// directory, a named pipe, a device or a socket given as an asset is simply
// not there.
#pragma once

#include <optional>
#include <string>

// True when `path` names a regular file that can be opened for reading.
bool isReadableFile(const std::string& path);

// True when nothing at all is at `path` (unlike a file that cannot be read).
bool isMissing(const std::string& path);

// The whole file as bytes, or nothing when it is not a regular file or
// cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes all of `bytes` to the open descriptor, however many writes the
// system takes; false when one fails (a full disk, a size limit).
bool writeAll(int fd, const std::string& bytes);

// Writes all of `bytes` to a new file at `path` (or over it) and flushes it
// to disk; false when any step fails.
bool writeDurably(const std::string& path, const std::string& bytes);

// Makes `folder` and each missing folder above it; true when it is a folder now.
bool makeFolders(const std::string& folder);

// Flushes the folder's entries, so that a rename inside it reaches the disk.
bool syncFolder(const std::string& folder);
