// One INI settings file, read once when constructed, answering typed
// look-ups by section and key with a caller-supplied default. A file that
// cannot be found or read is reported once and then answers every look-up
// with its default.
#pragma once

#include <INIReader.h>

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

    // Section and key match without regard to case.
    std::string getString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) const;
    long getInteger(const std::string& section, const std::string& name, long defaultValue) const;
    double getReal(const std::string& section, const std::string& name, double defaultValue) const;
    bool getBoolean(const std::string& section, const std::string& name, bool defaultValue) const;

private:
    // No bytes: the file could not be found or read.
    struct Contents {
        std::optional<std::string> bytes;
    };
    explicit SettingsFile(const Contents& contents);

    INIReader reader;
    int error;
};
