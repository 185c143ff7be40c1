#include "settings_field.h"

#include "settings_file.h"

#include <algorithm>
#include <climits>
#include <sstream>

namespace settings_field {

// Clamped rather than wrapped round: a huge size stays huge (and is cut to the
// screen later), a hugely negative one stays below 1 (and is replaced).
bool readInto(int& field, const std::string& text)
{
    const std::optional<long> number = parseInteger(text);
    if (number)
        field = static_cast<int>(std::clamp<long>(*number, INT_MIN, INT_MAX));
    return number.has_value();
}

bool readInto(float& field, const std::string& text)
{
    const std::optional<double> number = parseReal(text);
    if (number)
        field = static_cast<float>(*number);
    return number.has_value();
}

bool readInto(double& field, const std::string& text)
{
    const std::optional<double> number = parseReal(text);
    field = number.value_or(field);
    return number.has_value();
}

bool readInto(bool& field, const std::string& text)
{
    const std::optional<bool> flag = parseBoolean(text);
    field = flag.value_or(field);
    return flag.has_value();
}

bool readInto(std::string& field, const std::string& text)
{
    field = text;
    return true;
}

std::optional<int> wordValue(const std::string& text, const SettingWords& words)
{
    const std::string lower = lowerCase(text);
    for (const SettingWord& word : words)
        if (lower == word.text)
            return word.value;
    return std::nullopt;
}

std::string written(int value)
{
    return std::to_string(value);
}

// As a console line prints it: at most six significant digits.
std::string written(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string written(bool value)
{
    return value ? "true" : "false";
}

std::string written(const std::string& value)
{
    return value;
}

std::string writtenWord(int value, const SettingWords& words)
{
    for (const SettingWord& word : words)
        if (word.value == value)
            return word.text;
    return "";
}

}  // namespace settings_field
