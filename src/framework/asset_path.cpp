#include "asset_path.h"

#include "console.h"
#include "data_folder.h"
#include "file_io.h"

#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <climits>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Joining an absolute path replaces the directory, as the search documents.
std::string joinPath(const std::string& directory, const std::string& relativePath)
{
    return (fs::path(directory) / fs::path(relativePath)).string();
}

std::string parentOf(const std::string& directory)
{
    return fs::path(directory).parent_path().string();
}

// True when `path` names the same file as one of `candidates`: an absolute
// path, or a link, reaches one file from several levels, and that is no
// ambiguity.
bool alreadyFound(const std::string& path, const std::vector<std::string>& candidates)
{
    for (const std::string& candidate : candidates) {
        std::error_code error;
        if (fs::equivalent(path, candidate, error))
            return true;
    }
    return false;
}

// Adds the match at `directory` (if any); true when the search should stop here.
bool searchLevel(const std::string& directory, const std::string& relativePath,
                 std::vector<std::string>& candidates)
{
    const std::string candidate = joinPath(directory, relativePath);
    if (isReadableFile(candidate) && !alreadyFound(candidate, candidates))
        candidates.push_back(candidate);
    const bool isProjectRoot = isReadableFile(joinPath(directory, "CMakeLists.txt"));
    const bool isFileSystemRoot = parentOf(directory) == directory;
    return isProjectRoot || isFileSystemRoot;
}

}  // namespace

std::vector<std::string> searchAssetUpwards(const std::string& startDirectory,
                                            const std::string& relativePath)
{
    std::vector<std::string> candidates;
    std::string directory = startDirectory;
    while (!searchLevel(directory, relativePath, candidates))
        directory = parentOf(directory);
    return candidates;
}

std::string ambiguityReport(const std::string& relativePath, const std::vector<std::string>& candidates)
{
    std::string lines = "Ambiguous asset file path: '" + relativePath +
                        "'\nFound this path at multiple locations. Don't know which one shall be used. "
                        "Candidates are:\n";
    for (const std::string& candidate : candidates)
        lines += "  - " + candidate + '\n';
    return lines + "Remove all duplicates to fix this!";
}

std::string collectCandidates(const std::string& directory, const std::string& relativePath,
                              std::vector<std::string>& candidates)
{
    const std::vector<std::string> found = searchAssetUpwards(directory, relativePath);
    candidates.insert(candidates.end(), found.begin(), found.end());
    if (candidates.size() > 1)
        report(Severity::fatal, ambiguityReport(relativePath, candidates));
    return candidates.empty() ? std::string() : candidates.front();
}

std::string executableDirectory()
{
#ifdef _WIN32
    char buffer[1337];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length == sizeof buffer)
        report(Severity::fatal, "Error retrieving executable path on Windows!");
    return parentOf(std::string(buffer, length));
#else
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error || executable.empty())
        report(Severity::fatal, "Error retrieving executable path: readlink(\"/proc/self/exe\") failed: " +
                                    (error ? error.message() : std::string("it named no file")));
    return executable.parent_path().string();
#endif
}

std::string findAssetPath(const std::string& relativePath)
{
    const std::string start = executableDirectory();
    std::vector<std::string> candidates;
    const std::string found = collectCandidates(start, relativePath, candidates);
    if (!found.empty())
        return found;
    return findInDataFolders(dataFolders(std::getenv("GLIMMERDEEP_DATA"), start), relativePath);
}
