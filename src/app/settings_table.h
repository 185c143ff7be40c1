// The settings table: every key of the game's settings files as one row
// (its file, name, field, meaning and what the game can use). The reader,
// its warnings, --help and the settings tables of README.md and the man
// page all come from these rows, so adding a key is one row here and one
// line in the shipped file.
#pragma once

#include "settings_field.h"

#include <limits>
#include <optional>
#include <string>
#include <vector>

enum class SettingsFileId { window, camera, renderer };

// One settings file: its section, its shipped path and the option that may
// name another file in its place.
struct SettingsFileInfo {
    SettingsFileId id;
    const char* section;
    const char* shippedPath;
    std::optional<std::string> CommandLineOptions::*option;  // nullptr: none
    const char* optionName;
};
const std::vector<SettingsFileInfo>& settingsFiles();
const SettingsFileInfo& settingsFile(SettingsFileId id);
// The player's file of this kind in `folder`: the shipped file's name there.
std::string playersPath(const std::string& folder, const SettingsFileInfo& file);

// The numbers a number key can use; NaN never lies within.
struct Range {
    double low = -std::numeric_limits<double>::infinity();
    double high = std::numeric_limits<double>::infinity();
    bool lowIncluded = false;
    bool highIncluded = false;

    bool holds(double value) const
    {
        return (lowIncluded ? value >= low : value > low) && (highIncluded ? value <= high : value < high);
    }
};
Range above(double low);
Range between(double low, double high);  // both ends left out
Range fromTo(double low, double high);   // both ends included
Range aboveUpTo(double low, double high);
Range finite();

// A test one key's range cannot state, such as one key against another. It
// runs after every key of the file is read; when it fails, `key` (this
// row's or an earlier one's) takes its default with `reason` in its line.
struct SettingCheck {
    const char* key;
    bool (*usable)(const Settings& settings);
    const char* reason;
};

struct SettingKey {
    SettingsFileId file;
    const char* name;
    SettingField field;
    const char* meaning;                 // one line for --help's readers and the documentation
    Range range = {};
    const char* outsideRange = nullptr;  // the reason a number outside `range` gets; no range check without it
    SettingWords words = {};             // a word key's words, in any case
    std::vector<SettingCheck> checks = {};
    const char* checked = nullptr;       // what `checks` ask, in words, for the documentation
    const char* section = nullptr;       // nullptr: the file's own section
};

// The section the key is read from.
const char* sectionOf(const SettingKey& key);
using SettingsTable = std::vector<SettingKey>;

// The game's keys, in the order they are read and documented.
const SettingsTable& settingsTable();

// The key's built-in default as a file would hold it ("800", "0.1", "full").
std::string defaultText(const SettingKey& key);

// "full, half or quarter".
std::string wordList(const SettingWords& words);
