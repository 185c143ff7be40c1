#include "file_io.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle openRegularFile(const std::string& path)
{
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return nullptr;
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode))
        return nullptr;
    return file;
}

}  // namespace

bool isReadableFile(const std::string& path)
{
    return openRegularFile(path) != nullptr;
}

std::optional<std::string> readWholeFile(const std::string& path)
{
    FileHandle file = openRegularFile(path);
    if (!file)
        return std::nullopt;
    std::string bytes;
    char chunk[16384];
    size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.append(chunk, count);
    if (std::ferror(file.get()))
        return std::nullopt;
    return bytes;
}
