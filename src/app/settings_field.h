// Where a settings key's value lives in Settings, bound through a member
// pointer: reading it from a file's text, its value as a number for range
// checks, its built-in default and how that is written. The field's type
// says the key's kind; its initial value in the struct is the default.
#pragma once

#include "settings.h"

#include <optional>
#include <string>
#include <type_traits>
#include <vector>

enum class SettingKind { integer, real, boolean, text, word };

// One word a word key accepts, and the enumerator it stands for.
struct SettingWord {
    const char* text;
    int value;
};
using SettingWords = std::vector<SettingWord>;

struct SettingField {
    SettingKind kind;
    // Reads `text` into the field; false, and the field unchanged, when the
    // text does not read as the field's kind (or is none of `words`).
    bool (*read)(Settings& settings, const std::string& text, const SettingWords& words);
    double (*number)(const Settings& settings);  // for range checks; 0 for text and words
    std::string (*write)(const Settings& settings, const SettingWords& words);  // as written in a file
    void (*reset)(Settings& settings);  // back to the built-in default
};

namespace settings_field {

// The part of Settings that holds fields of `Part`, for `settings` const or not.
template <typename SettingsType>
auto& partOf(SettingsType& settings, WindowSettings*) { return settings.window; }
template <typename SettingsType>
auto& partOf(SettingsType& settings, CameraSettings*) { return settings.camera; }
template <typename SettingsType>
auto& partOf(SettingsType& settings, RendererSettings*) { return settings.renderer; }
template <typename SettingsType>
auto& partOf(SettingsType& settings, AudioSettings*) { return settings.audio; }

template <typename>
struct Member;
template <typename Part, typename Value>
struct Member<Value Part::*> {
    using PartType = Part;
    using ValueType = Value;
};

// The field `member` points to in `settings`.
template <auto member, typename SettingsType>
auto& in(SettingsType& settings)
{
    using Part = typename Member<decltype(member)>::PartType;
    return partOf(settings, static_cast<Part*>(nullptr)).*member;
}

bool readInto(int& field, const std::string& text);
bool readInto(float& field, const std::string& text);
bool readInto(double& field, const std::string& text);
bool readInto(bool& field, const std::string& text);
bool readInto(std::string& field, const std::string& text);
std::optional<int> wordValue(const std::string& text, const SettingWords& words);

std::string written(int value);
std::string written(double value);
std::string written(bool value);
std::string written(const std::string& value);
std::string writtenWord(int value, const SettingWords& words);

template <typename Value>
constexpr SettingKind kindOf()
{
    if constexpr (std::is_enum_v<Value>)
        return SettingKind::word;
    else if constexpr (std::is_same_v<Value, bool>)
        return SettingKind::boolean;
    else if constexpr (std::is_integral_v<Value>)
        return SettingKind::integer;
    else if constexpr (std::is_floating_point_v<Value>)
        return SettingKind::real;
    else
        return SettingKind::text;
}

}  // namespace settings_field

// The binding of one field, e.g. fieldOf<&CameraSettings::fov>().
template <auto member>
SettingField fieldOf()
{
    using namespace settings_field;
    using Part = typename Member<decltype(member)>::PartType;
    using Value = typename Member<decltype(member)>::ValueType;
    constexpr bool isWord = std::is_enum_v<Value>;
    constexpr bool isNumber = std::is_arithmetic_v<Value> && !std::is_same_v<Value, bool>;
    SettingField field{kindOf<Value>(), nullptr, nullptr, nullptr, nullptr};
    field.read = [](Settings& settings, const std::string& text, [[maybe_unused]] const SettingWords& words) {
        if constexpr (isWord) {
            const std::optional<int> found = wordValue(text, words);
            if (found)
                in<member>(settings) = static_cast<Value>(*found);
            return found.has_value();
        } else {
            return readInto(in<member>(settings), text);
        }
    };
    field.number = []([[maybe_unused]] const Settings& settings) {
        if constexpr (isNumber)
            return static_cast<double>(in<member>(settings));
        else
            return 0.0;
    };
    field.write = [](const Settings& settings, [[maybe_unused]] const SettingWords& words) {
        if constexpr (isWord)
            return writtenWord(static_cast<int>(in<member>(settings)), words);
        else
            return written(in<member>(settings));  // a float as a double
    };
    field.reset = [](Settings& settings) { in<member>(settings) = Part{}.*member; };
    return field;
}
