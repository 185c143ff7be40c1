#include "settings_file.h"

#include "framework/asset_path.h"
#include "framework/file_io.h"

#include <iostream>

namespace {

std::optional<std::string> readSettingsBytes(const std::string& path)
{
    const std::string resolved = findAssetPath(path);
    if (resolved.empty())
        return std::nullopt;
    return readWholeFile(resolved);
}

}  // namespace

SettingsFile::SettingsFile(const Contents& contents)
    : reader(contents.bytes ? contents.bytes->data() : "", contents.bytes ? contents.bytes->size() : 0),
      error(contents.bytes ? reader.ParseError() : -1)
{
}

SettingsFile::SettingsFile(const std::string& path) : SettingsFile(Contents{readSettingsBytes(path)})
{
    if (error < 0)
        std::cout << "ERROR: Failed to load '" << path << "'. Using default values instead." << std::endl;
}

SettingsFile SettingsFile::fromText(const std::string& text)
{
    return SettingsFile(Contents{text});
}

std::string SettingsFile::getString(const std::string& section, const std::string& name,
                                    const std::string& defaultValue) const
{
    // Get, unlike GetString, keeps a value that is present but empty.
    return reader.Get(section, name, defaultValue);
}

long SettingsFile::getInteger(const std::string& section, const std::string& name, long defaultValue) const
{
    return reader.GetInteger(section, name, defaultValue);
}

double SettingsFile::getReal(const std::string& section, const std::string& name, double defaultValue) const
{
    return reader.GetReal(section, name, defaultValue);
}

bool SettingsFile::getBoolean(const std::string& section, const std::string& name, bool defaultValue) const
{
    return reader.GetBoolean(section, name, defaultValue);
}
