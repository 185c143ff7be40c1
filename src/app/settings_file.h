// One INI settings file, read once when constructed, answering typed
// look-ups by section and key with a caller-supplied default. A file that
// cannot be found or read is reported once and then answers every look-up
// with its default. Parsing is inih's stream parser; the look-ups follow its
// INIReader's rules.
#pragma once

#include <map>
#include <optional>
#include <string>

class SettingsFile {
public:
    // Finds `path` with the upward asset search and reads it.
    explicit SettingsFile(const std::string& path);

    // Parses settings text directly; `parseError` is the parser's result.
    static SettingsFile fromText(const std::string& text);

    // 0: read without error; > 0: first line that failed to parse;
    // -1: not found or not readable.
    int parseError() const { return error; }

    // The path the file was asked for by, as the caller gave it.
    const std::string& path() const { return requestedPath; }

    // Section and key match without regard to case. A key present with an
    // empty value gives the empty text; a key given twice gives both values
    // joined by a line feed.
    std::string getString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) const;
    // strtol with base 0; text after the number is ignored.
    long getInteger(const std::string& section, const std::string& name, long defaultValue) const;
    // strtod; text after the number is ignored.
    double getReal(const std::string& section, const std::string& name, double defaultValue) const;
    // true/yes/on/1 and false/no/off/0 in any case; anything else is the default.
    bool getBoolean(const std::string& section, const std::string& name, bool defaultValue) const;

private:
    // No bytes: the file could not be found or read.
    struct Contents {
        std::optional<std::string> bytes;
    };
    explicit SettingsFile(const Contents& contents);

    const std::string* find(const std::string& section, const std::string& name) const;
    static int storeValue(void* user, const char* section, const char* name, const char* value);

    std::map<std::string, std::string> values;  // "section=name", lower case
    int error = 0;
    std::string requestedPath;
};
