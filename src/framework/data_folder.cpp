#include "data_folder.h"

#include "file_io.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string sourceTreeFolder = "assets/";

// "assets/settings/window.ini" lies at "settings/window.ini" in a data folder.
std::string pathInDataFolder(const std::string& folder, const std::string& relativePath)
{
    const bool underAssets = relativePath.compare(0, sourceTreeFolder.size(), sourceTreeFolder) == 0;
    const std::string inFolder = underAssets ? relativePath.substr(sourceTreeFolder.size()) : relativePath;
    return (fs::path(folder) / fs::path(inFolder)).string();
}

}  // namespace

std::vector<std::string> dataFolders(const char* dataVariable, const std::string& executableDirectory)
{
    std::vector<std::string> folders;
    if (dataVariable && dataVariable[0] != '\0')
        folders.emplace_back(dataVariable);
    folders.push_back((fs::path(executableDirectory).parent_path() / "share" / "glimmerdeep").string());
    return folders;
}

std::string findInDataFolders(const std::vector<std::string>& folders, const std::string& relativePath)
{
    for (const std::string& folder : folders) {
        const std::string candidate = pathInDataFolder(folder, relativePath);
        if (isReadableFile(candidate))
            return candidate;
    }
    return {};
}
