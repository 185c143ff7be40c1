#include "settings_file.h"

#include "framework/asset_path.h"
#include "framework/file_io.h"

#include <ini.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>

namespace {

std::optional<std::string> readSettingsBytes(const std::string& path)
{
    const std::string resolved = findAssetPath(path);
    if (resolved.empty())
        return std::nullopt;
    return readWholeFile(resolved);
}

std::string makeKey(const std::string& section, const std::string& name)
{
    return lowerCase(section + "=" + name);
}

// inih's verdict on one line alone. Without continuation lines (see
// readLine) no line's fault depends on the lines before it. A line feed in
// front keeps a later line from counting as the file's first, whose leading
// byte-order mark inih skips.
bool inihReadsAlone(const char* line, bool isFirst)
{
    const std::string text = isFirst ? std::string(line) : "\n" + std::string(line);
    const auto ignore = [](void*, const char*, const char*, const char*) { return 1; };
    return ini_parse_string(text.c_str(), ignore, nullptr) == 0;
}

// The bytes still to be read, and the lines inih could not read among those
// handed out so far.
struct LineFeeder {
    explicit LineFeeder(const std::string& bytes) : next(bytes.data()), end(bytes.data() + bytes.size()) {}

    const char* next;
    const char* end;
    int lineNumber = 1;  // of the next piece
    bool isFirst = true;
    std::vector<int> unreadableLines;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Hands out the bytes a line at a time the way fgets reads a file (a NUL
// byte spoils only its own line), less leading white space: inih would read
// an indented line as more of the key above, so a stray indent could swallow
// a key. Each piece is judged before inih gets it.
char* readLine(char* line, int capacity, void* stream)
{
    auto& feeder = *static_cast<LineFeeder*>(stream);
    while (feeder.next != feeder.end && isBlank(*feeder.next))
        ++feeder.next;
    if (feeder.next == feeder.end || capacity < 2)
        return nullptr;
    int length = 0;
    while (length < capacity - 1 && feeder.next != feeder.end) {
        const char c = *feeder.next++;
        line[length++] = c;
        if (c == '\n')
            break;
    }
    line[length] = '\0';
    std::vector<int>& unreadable = feeder.unreadableLines;
    // A line longer than a piece may fail in several; it is named once.
    if (!inihReadsAlone(line, feeder.isFirst) && (unreadable.empty() || unreadable.back() != feeder.lineNumber))
        unreadable.push_back(feeder.lineNumber);
    feeder.isFirst = false;
    if (line[length - 1] == '\n')
        ++feeder.lineNumber;
    return line;
}

// The last value of a key wins, as a player who adds a line below expects.
int storeValue(void* user, const char* section, const char* name, const char* value)
{
    if (name)
        (*static_cast<std::map<std::string, std::string>*>(user))[makeKey(section, name)] = value ? value : "";
    return 1;
}

}  // namespace

std::vector<int> SettingsFile::read(const std::string& bytes)
{
    LineFeeder feeder(bytes);
    ini_parse_stream(readLine, &feeder, storeValue, &values);
    return feeder.unreadableLines;
}

void SettingsFile::readAndReport(const std::string& bytes, std::ostream& console)
{
    for (const int line : read(bytes))
        console << "WARNING: '" << requestedPath << "': line " << line
                << " is not 'key = value' or a [section]. It is ignored." << std::endl;
}

SettingsFile::SettingsFile(const std::string& path, std::ostream& console) : requestedPath(path)
{
    const std::optional<std::string> bytes = readSettingsBytes(path);
    if (bytes)
        readAndReport(*bytes, console);
    else
        console << "ERROR: Failed to load '" << path << "'. Using default values instead." << std::endl;
}

SettingsFile::SettingsFile(const std::string& path, const std::string& text, std::ostream& console)
    : requestedPath(path)
{
    readAndReport(text, console);
}

SettingsFile SettingsFile::fromText(const std::string& text)
{
    SettingsFile file;
    file.read(text);
    return file;
}

std::optional<std::string> SettingsFile::value(const std::string& section, const std::string& name) const
{
    const auto found = values.find(makeKey(section, name));
    if (found == values.end())
        return std::nullopt;
    return found->second;
}

std::optional<long> parseInteger(const std::string& text)
{
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 0);
    return end > text.c_str() ? std::optional<long>(number) : std::nullopt;
}

std::optional<double> parseReal(const std::string& text)
{
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    return end > text.c_str() ? std::optional<double>(number) : std::nullopt;
}

std::optional<bool> parseBoolean(const std::string& text)
{
    const std::string word = lowerCase(text);
    if (word == "true" || word == "yes" || word == "on" || word == "1")
        return true;
    if (word == "false" || word == "no" || word == "off" || word == "0")
        return false;
    return std::nullopt;
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
