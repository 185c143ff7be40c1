// Ends the process after a fatal asset or shader failure: prints the lines,
// waits for one character on standard input (Enter on a console), exits 1
// at once, without running destructors or touching GL.
#pragma once

#include <string>
#include <vector>

[[noreturn]] void fatalExit(const std::vector<std::string>& lines);
