// replay_maker <folder>: writes the replays the end-to-end tests play into
// the folder (tests/e2e/data/replays in the repository), each with the
// game's lines beside it as <name>.lines.
#include "scenarios.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: replay_maker <folder>\n";
        return 2;
    }
    const std::string folder = argv[1];
    for (const MadeReplay& replay : makeReplays()) {
        for (const auto& [name, text] : {std::pair{replay.fileName, replay.text},
                                         std::pair{replay.fileName + ".lines", replay.console}}) {
            std::ofstream file(folder + "/" + name, std::ios::binary);
            file << text;
            if (!file.flush()) {
                std::cerr << "replay_maker: cannot write " << folder << "/" << name << "\n";
                return 1;
            }
        }
    }
    return 0;
}
