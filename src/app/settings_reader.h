// Reads one settings file's keys into Settings, as the settings table says:
// each key's text parsed as its kind, then its range and checks, with one
// WARNING line for each value the game cannot use.
#pragma once

#include "settings_table.h"

#include <ostream>
#include <vector>

class SettingsFile;

// Reads the keys of `file` from `layers`, lowest first, into `settings`,
// which starts with the built-in defaults: each key takes its text from the
// last layer that holds it. A key no layer holds, or whose text does not
// read as its kind, keeps its value in silence. A word that is none of its
// key's words, a number outside its range and a failed check take the
// built-in default, with a line naming the layer that gave the value (the
// last layer for a key none gives).
void readSettingsFile(Settings& settings, SettingsFileId file, const std::vector<const SettingsFile*>& layers,
                      std::ostream& console, const SettingsTable& table = settingsTable());
