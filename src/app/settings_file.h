// One INI settings file, read once when constructed, answering typed
// look-ups by section and key with a caller-supplied default. A file that
// cannot be found or read is reported once and then answers every look-up
// with its default; each line of it that cannot be read gets a line of its
// own. Parsing is inih's stream parser; the look-ups follow its INIReader's
// rules, except that a key given twice keeps its last value and every line
// stands alone (an indented line is no continuation of the key above).
#pragma once

#include <map>
#include <string>
#include <vector>

class SettingsFile {
public:
    // Finds `path` with the upward asset search and reads it, with a console
    // line for a missing file and for each line that cannot be read.
    explicit SettingsFile(const std::string& path);

    // Parses settings text directly, in silence.
    static SettingsFile fromText(const std::string& text);

    // The path the file was asked for by, as the caller gave it.
    const std::string& path() const { return requestedPath; }

    // Section and key match without regard to case. A key present with an
    // empty value gives the empty text; a key given twice gives its last value.
    std::string getString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) const;
    // strtol with base 0; text after the number is ignored.
    long getInteger(const std::string& section, const std::string& name, long defaultValue) const;
    // strtod; text after the number is ignored.
    double getReal(const std::string& section, const std::string& name, double defaultValue) const;
    // true/yes/on/1 and false/no/off/0 in any case; anything else is the default.
    bool getBoolean(const std::string& section, const std::string& name, bool defaultValue) const;

private:
    SettingsFile() = default;

    // Stores the values of `bytes`; returns the numbers of the lines (from 1)
    // that are neither a key, a section, a comment nor blank.
    std::vector<int> read(const std::string& bytes);
    const std::string* find(const std::string& section, const std::string& name) const;

    std::map<std::string, std::string> values;  // "section=name", lower case
    std::string requestedPath;
};
