// One INI settings file, read once when constructed, answering look-ups by
// section and key; and the rules by which a value's text reads as a number
// or a boolean. A file that cannot be found or read is reported once and
// then has no keys; each line of it that cannot be read gets a line of its
// own. Parsing is inih's stream parser; the look-ups follow its INIReader's
// rules, except that a key given twice keeps its last value and every line
// stands alone (an indented line is no continuation of the key above).
#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class SettingsFile {
public:
    // Finds `path` with the upward asset search and reads it, with a line on
    // `console` for a missing file and for each line that cannot be read.
    SettingsFile(const std::string& path, std::ostream& console);

    // Reads `text` as the file at `path`, with a line for each line that cannot be read.
    SettingsFile(const std::string& path, const std::string& text, std::ostream& console);

    // Parses settings text directly, in silence.
    static SettingsFile fromText(const std::string& text);

    // The path the file was asked for by, as the caller gave it.
    const std::string& path() const { return requestedPath; }

    // The text of a key; section and key match without regard to case. A key
    // present with an empty value gives the empty text; a key given twice
    // gives its last value.
    std::optional<std::string> value(const std::string& section, const std::string& name) const;

private:
    SettingsFile() = default;

    // Stores the values of `bytes`; returns the numbers of the lines (from 1)
    // that are neither a key, a section, a comment nor blank.
    std::vector<int> read(const std::string& bytes);
    void readAndReport(const std::string& bytes, std::ostream& console);

    std::map<std::string, std::string> values;  // "section=name", lower case
    std::string requestedPath;
};

// strtol with base 0; text after the number is ignored. None when no character reads.
std::optional<long> parseInteger(const std::string& text);
// strtod; text after the number is ignored. None when no character reads.
std::optional<double> parseReal(const std::string& text);
// true/yes/on/1 and false/no/off/0 in any case; none for anything else.
std::optional<bool> parseBoolean(const std::string& text);

std::string lowerCase(std::string text);
