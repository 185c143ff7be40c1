// Player mode's side of a frame: keys, the mouse and the gamepad's buttons
// turned into menu commands, the menus' choices applied to the run and the
// settings, and an option saved to the player's own settings file. The
// menus' rules themselves are the game's (game/menu.h).
#pragma once

#include "app.h"
#include "frame.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// From the shortcut keys' step (game_step.cpp): a new run from the settings,
// and each key released flipping what it is bound to, as without menus.
void restartRun(App& app);
bool applyShortcuts(App& app, const WindowEvents& events, std::vector<std::string>& said);

// The options as the settings and switches have them now.
PlayerOptions playerOptionsOf(const Settings& settings, const Switches& switches);

// Player mode's start: the title screen over the well, the run waiting for "Fly".
void showTitle(App& app, std::optional<double> bestTime);

// The frame's events for the menus in player mode: while a menu shows, the
// keys and clicks go to it; while playing, P, Escape and losing the focus
// open the pause menu and the other keys keep their shortcuts. Choices are
// applied to the run at once; the lines for the player go to `said`.
// Returns the menus' choice.
MenuChoice stepPlayerMenu(App& app, const FrameInput& input, std::vector<std::string>& said);

// Writes the option of `item` into the player's settings file in `folder`
// with one line on `console`.
void saveOption(const App& app, MenuItem item, const std::string& folder, std::ostream& console);
