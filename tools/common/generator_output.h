// What the picture generators share: their one argument, the output folder,
// and writing each file whole into it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The output folder named by the only argument, made if missing; nothing,
// after the usage line on standard error, when the arguments are wrong.
std::optional<std::filesystem::path> outputFolder(int argc, char** argv, const char* usage);

// Writes `bytes` as the file `name` in `folder`; false, after a line on
// standard error, when it cannot.
bool writeOutputFile(const std::filesystem::path& folder, const std::string& name, const std::string& bytes);
