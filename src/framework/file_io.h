// Small file helpers shared by the loaders. They never print.
#pragma once

#include <optional>
#include <string>

// True when `path` names something that can be opened and read as a file.
// Directories do not count, although the C library opens them without error.
bool isReadableFile(const std::string& path);

// The whole file as bytes, or nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);
