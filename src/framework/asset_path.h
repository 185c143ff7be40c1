// Finds asset files by searching upwards from the executable's directory to
// the project root (the directory holding "CMakeLists.txt") or the file-system
// root. Two different files found at different levels are a fatal
// configuration error; one file reached from several levels (an absolute
// path, a link) is simply that file. Only when that search finds nothing
// are the installed data folders tried (data_folder.h).
#pragma once

#include <string>
#include <vector>

// The one full path of `relativePath`, or "" when neither the search nor a
// data folder holds it.
// Does not return when the executable's path is unknown or the path is ambiguous.
std::string findAssetPath(const std::string& relativePath);

// One level of the search from `directory`, then the levels above it.
// Appends every match to `candidates`; returns the single match, "" for none,
// and ends the process with the ambiguity report for two or more.
std::string collectCandidates(const std::string& directory, const std::string& relativePath,
                              std::vector<std::string>& candidates);

// The search itself without the fatal report: every match, nearest level first.
std::vector<std::string> searchAssetUpwards(const std::string& startDirectory,
                                            const std::string& relativePath);

// The ambiguity report: its lines, joined by line ends.
std::string ambiguityReport(const std::string& relativePath, const std::vector<std::string>& candidates);

// Directory of the running executable; ends the process when it is unknown.
std::string executableDirectory();
