// Saves one key into the player's own settings file, for an options screen:
// the rest of the file (comments, other keys, their order) stays as it was.
// The file is written whole beside the old one, flushed to disk and renamed
// over it, so a crash or a full disk leaves the old file whole.
#pragma once

#include "settings_table.h"

#include <ostream>
#include <string>

// `text` with `name` in `section` set to `value`. The key's last line in the
// section (the one the reader keeps) is rewritten, its inline comment kept;
// a key not there yet goes after the section's last key; a section not there
// yet is added at the end.
std::string withSetting(const std::string& text, const std::string& section, const std::string& name,
                        const std::string& value);

// Sets `key` to `value` in the player's file of its name in `folder` (made
// when missing). On any failure: one line on `console`, the old file as it
// was, and false.
bool saveSetting(const std::string& folder, const SettingKey& key, const std::string& value, std::ostream& console);
