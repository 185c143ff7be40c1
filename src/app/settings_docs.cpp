#include "settings_docs.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

namespace {

std::string number(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string rangeText(const Range& range)
{
    const std::string low = (range.lowIncluded ? "at least " : "above ") + number(range.low);
    const std::string high = (range.highIncluded ? "at most " : "below ") + number(range.high);
    if (std::isinf(range.low) && std::isinf(range.high))
        return "any finite number";
    if (std::isinf(range.high))
        return low;
    if (std::isinf(range.low))
        return high;
    if (range.lowIncluded && range.highIncluded)
        return "from " + number(range.low) + " to " + number(range.high);
    if (!range.lowIncluded && !range.highIncluded)
        return "between " + number(range.low) + " and " + number(range.high);
    return low + ", " + high;
}

// What a file may give the key.
std::string valuesText(const SettingKey& key)
{
    switch (key.field.kind) {
    case SettingKind::boolean:
        return "true or false";
    case SettingKind::text:
        return "any text";
    case SettingKind::word:
        return wordList(key.words);
    case SettingKind::integer:
    case SettingKind::real:
        break;
    }
    if (key.checked)
        return key.checked;
    if (key.outsideRange)
        return rangeText(key.range);
    return key.field.kind == SettingKind::integer ? "a whole number" : "a number";
}

// The sections of a file's keys, in the order their keys come.
std::vector<std::string> sectionsOf(const SettingsTable& table, const SettingsFileInfo& file)
{
    std::vector<std::string> sections;
    for (const SettingKey& key : table)
        if (key.file == file.id && std::find(sections.begin(), sections.end(), sectionOf(key)) == sections.end())
            sections.emplace_back(sectionOf(key));
    return sections;
}

bool inSection(const SettingKey& key, const SettingsFileInfo& file, const std::string& section)
{
    return key.file == file.id && section == sectionOf(key);
}

std::string fileHeading(const SettingsFileInfo& file, const std::string& section, const char* code,
                        const char* option)
{
    std::string heading = std::string(code) + file.shippedPath + code;
    if (file.optionName)
        heading += std::string(" (or the file given with ") + option + file.optionName + " PATH" + option + ")";
    return heading + ", section " + code + "[" + section + "]" + code;
}

// man(7) text: backslashes and hyphens escaped, a leading dot made plain.
std::string roff(const std::string& text)
{
    std::string escaped = text.empty() || (text[0] != '.' && text[0] != '\'') ? "" : "\\&";
    for (const char c : text)
        escaped += c == '\\' ? "\\e" : c == '-' ? "\\-" : std::string(1, c);
    return escaped;
}

std::string sentence(std::string text)
{
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + ".";
}

}  // namespace

std::string settingsHelpList(const SettingsTable& table)
{
    constexpr std::size_t pathWidth = 37;
    constexpr std::size_t lineWidth = 104;
    std::string list;
    for (const SettingsFileInfo& file : settingsFiles()) {
      std::string path = file.shippedPath;
        for (const std::string& section : sectionsOf(table, file)) {
            std::string line = "  " + path;
            line += std::string(line.size() < pathWidth + 2 ? pathWidth + 4 - line.size() : 2, ' ');
            path = "";
            line += "[" + section + "]";
            const char* separator = " ";
            for (const SettingKey& key : table) {
                if (!inSection(key, file, section))
                    continue;
                const std::string word = separator + std::string(key.name);
                if (line.size() + word.size() + 1 > lineWidth) {
                    list += line + ",\n";
                    line = std::string(pathWidth + 4, ' ') + key.name;
                } else {
                    line += word;
                }
                separator = ", ";
            }
            list += line + "\n";
        }
    }
    return list;
}

std::string settingsReadmeTables(const SettingsTable& table)
{
    std::string text;
    for (const SettingsFileInfo& file : settingsFiles()) {
        for (const std::string& section : sectionsOf(table, file)) {
            text += (text.empty() ? "" : "\n") + fileHeading(file, section, "`", "`") + ":\n\n";
            text += "| Key | Default | Values | Meaning |\n|-----|---------|--------|---------|\n";
            for (const SettingKey& key : table)
                if (inSection(key, file, section))
                    text += "| `" + std::string(key.name) + "` | " + defaultText(key) + " | " + valuesText(key) + " | " +
                            key.meaning + " |\n";
        }
    }
    return text;
}

std::string settingsManSection(const SettingsTable& table)
{
    std::string text = ".SH SETTINGS\n";
    for (const SettingsFileInfo& file : settingsFiles()) {
        for (const std::string& section : sectionsOf(table, file)) {
            text += ".SS " + roff(fileHeading(file, section, "", "")) + "\n";
            for (const SettingKey& key : table) {
                if (!inSection(key, file, section))
                    continue;
                text += ".TP\n.B " + roff(key.name) + "\n" + roff(sentence(key.meaning)) + "\nDefault: " +
                        roff(defaultText(key)) + "; " + roff(valuesText(key)) + ".\n";
            }
        }
    }
    return text;
}
