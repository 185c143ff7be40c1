// The settings table written out for people: the list in --help, the tables
// in README.md and the SETTINGS section of the man page. A test compares the
// committed README and man page with these, so a new row shows up in both;
// when it fails it prints the text to paste.
#pragma once

#include "settings_table.h"

#include <string>

// Per file: its path, its section and its keys, wrapped, as --help lists them.
std::string settingsHelpList(const SettingsTable& table = settingsTable());

// Per file: a line naming it and a Markdown table of its keys.
std::string settingsReadmeTables(const SettingsTable& table = settingsTable());

// The man page's SETTINGS section, in man(7) markup.
std::string settingsManSection(const SettingsTable& table = settingsTable());
