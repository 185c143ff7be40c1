#include "settings_writer.h"

#include "settings_file.h"
#include "framework/file_io.h"

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\v\f");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r\v\f") - first + 1);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

// The inline comment of a key line with the blanks before it (" ; wide"), or "".
std::string inlineComment(const std::string& line)
{
    for (std::size_t i = line.find_first_of("=:") + 1; i < line.size(); ++i)
        if (line[i] == ';' && (line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(line.find_last_not_of(" \t", i - 1) + 1);
    return "";
}

}  // namespace

std::string withSetting(const std::string& text, const std::string& section, const std::string& name,
                        const std::string& value)
{
    constexpr std::size_t none = std::string::npos;
    std::vector<std::string> lines = splitLines(text);
    std::string current;
    std::size_t keyLine = none;
    std::size_t sectionEnd = none;  // the section's header or its last key
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = trimmed(lines[i]);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        const std::size_t close = line.find(']');
        if (line[0] == '[' && close != none) {
            current = lowerCase(line.substr(1, close - 1));  // as the reader takes it: untrimmed
            sectionEnd = current == lowerCase(section) ? i : sectionEnd;
            continue;
        }
        const std::size_t separator = line.find_first_of("=:");
        if (current != lowerCase(section) || separator == none)
            continue;
        sectionEnd = i;
        if (lowerCase(trimmed(line.substr(0, separator))) == lowerCase(name))
            keyLine = i;
    }
    const std::string keyText = name + " = " + value;
    if (keyLine != none)
        lines[keyLine] = keyText + inlineComment(lines[keyLine]);
    else if (sectionEnd != none)
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd) + 1, keyText);
    else
        lines.insert(lines.end(), {lines.empty() ? "[" + section + "]" : "\n[" + section + "]", keyText});
    std::string result;
    for (const std::string& line : lines)
        result += line + "\n";
    return result;
}

bool saveSetting(const std::string& folder, const SettingKey& key, const std::string& value, std::ostream& console)
{
    const std::string path = playersPath(folder, settingsFile(key.file));
    const std::string temporary = path + ".new";
    const auto fail = [&](const std::string& why) {
        console << "Cannot save " << key.name << " in '" << path << "': " << why << "." << std::endl;
        return false;
    };
    if (folder.empty() || !makeFolders(folder))
        return fail("its folder cannot be made");
    const std::optional<std::string> old = isMissing(path) ? std::string() : readWholeFile(path);
    if (!old)
        return fail("it cannot be read");
    if (!writeDurably(temporary, withSetting(*old, settingsFile(key.file).section, key.name, value))) {
        ::unlink(temporary.c_str());
        return fail("'" + temporary + "' could not be written in full");
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return fail("it could not be replaced");
    }
    syncFolder(folder);
    return true;
}
