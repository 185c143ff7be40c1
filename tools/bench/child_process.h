// Runs a program to its end with its output in a log file.
#pragma once

#include <string>
#include <vector>

// `arguments[0]` is searched on PATH. `environment` entries ("NAME=value")
// replace or add to this process's environment. Returns the exit status, or
// -1 when the program could not start or did not exit normally.
int runChild(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
             const std::string& logPath);

// The first directory on PATH that holds an executable `name`; "" when none.
std::string findOnPath(const std::string& name);
