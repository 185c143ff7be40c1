// The runs the tests play back, each made by stepping the real game's frames
// without a window: a win by the pilot's route, a loss by doing nothing,
// and a run that presses every shortcut key.
#pragma once

#include <string>
#include <vector>

struct MadeReplay {
    std::string fileName;
    std::string text;     // the replay file
    std::string console;  // what the game printed while it was made
};

std::vector<MadeReplay> makeReplays();
