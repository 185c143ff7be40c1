#include "settings_file.h"

#include "framework/asset_path.h"
#include "framework/file_io.h"

#include <ini.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>

namespace {

std::optional<std::string> readSettingsBytes(const std::string& path)
{
    const std::string resolved = findAssetPath(path);
    if (resolved.empty())
        return std::nullopt;
    return readWholeFile(resolved);
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string makeKey(const std::string& section, const std::string& name)
{
    return lowerCase(section + "=" + name);
}

// The bytes still to be read, handed out a line at a time the way fgets
// reads a file: a NUL byte inside a line spoils only that line.
struct ByteStream {
    const char* next;
    const char* end;
};

char* readLine(char* line, int capacity, void* stream)
{
    auto& bytes = *static_cast<ByteStream*>(stream);
    if (bytes.next == bytes.end || capacity < 2)
        return nullptr;
    int length = 0;
    while (length < capacity - 1 && bytes.next != bytes.end) {
        const char c = *bytes.next++;
        line[length++] = c;
        if (c == '\n')
            break;
    }
    line[length] = '\0';
    return line;
}

}  // namespace

int SettingsFile::storeValue(void* user, const char* section, const char* name, const char* value)
{
    if (!name)
        return 1;
    std::string& stored = static_cast<SettingsFile*>(user)->values[makeKey(section, name)];
    if (!stored.empty())
        stored += '\n';
    stored += value ? value : "";
    return 1;
}

SettingsFile::SettingsFile(const Contents& contents)
{
    if (!contents.bytes) {
        error = -1;
        return;
    }
    ByteStream stream{contents.bytes->data(), contents.bytes->data() + contents.bytes->size()};
    error = ini_parse_stream(readLine, &stream, storeValue, this);
}

SettingsFile::SettingsFile(const std::string& path) : SettingsFile(Contents{readSettingsBytes(path)})
{
    requestedPath = path;
    if (error < 0)
        std::cout << "ERROR: Failed to load '" << path << "'. Using default values instead." << std::endl;
}

SettingsFile SettingsFile::fromText(const std::string& text)
{
    return SettingsFile(Contents{text});
}

const std::string* SettingsFile::find(const std::string& section, const std::string& name) const
{
    const auto found = values.find(makeKey(section, name));
    return found == values.end() ? nullptr : &found->second;
}

std::string SettingsFile::getString(const std::string& section, const std::string& name,
                                    const std::string& defaultValue) const
{
    const std::string* value = find(section, name);
    return value ? *value : defaultValue;
}

long SettingsFile::getInteger(const std::string& section, const std::string& name, long defaultValue) const
{
    const std::string* value = find(section, name);
    if (!value)
        return defaultValue;
    char* end = nullptr;
    const long number = std::strtol(value->c_str(), &end, 0);
    return end > value->c_str() ? number : defaultValue;
}

double SettingsFile::getReal(const std::string& section, const std::string& name, double defaultValue) const
{
    const std::string* value = find(section, name);
    if (!value)
        return defaultValue;
    char* end = nullptr;
    const double number = std::strtod(value->c_str(), &end);
    return end > value->c_str() ? number : defaultValue;
}

bool SettingsFile::getBoolean(const std::string& section, const std::string& name, bool defaultValue) const
{
    const std::string* value = find(section, name);
    if (!value)
        return defaultValue;
    const std::string word = lowerCase(*value);
    if (word == "true" || word == "yes" || word == "on" || word == "1")
        return true;
    if (word == "false" || word == "no" || word == "off" || word == "0")
        return false;
    return defaultValue;
}
