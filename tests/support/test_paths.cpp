#include "test_paths.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

std::string sourceDir()
{
    return GLIMMERDEEP_SOURCE_DIR;
}

std::string binaryDir()
{
    return GLIMMERDEEP_BINARY_DIR;
}

std::string makeScratchDir(const std::string& name)
{
    const fs::path dir = fs::path(binaryDir()) / "scratch" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

void writeFile(const std::string& path, const std::string& bytes)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

ScratchAsset writeScratchAsset(const std::string& test, const std::string& file, const std::string& bytes)
{
    const ScratchAsset asset{"scratch/" + test + "/" + file, makeScratchDir(test) + "/" + file};
    writeFile(asset.fullPath, bytes);
    return asset;
}
