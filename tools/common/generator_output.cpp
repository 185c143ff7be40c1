#include "generator_output.h"

#include <fstream>
#include <iostream>

std::optional<std::filesystem::path> outputFolder(int argc, char** argv, const char* usage)
{
    if (argc != 2) {
        std::cerr << usage << std::endl;
        return std::nullopt;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);  // a failure shows when the first file is written
    return folder;
}

bool writeOutputFile(const std::filesystem::path& folder, const std::string& name, const std::string& bytes)
{
    const std::filesystem::path path = folder / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::cerr << "Could not write " << path.string() << std::endl;
        return false;
    }
    return true;
}
