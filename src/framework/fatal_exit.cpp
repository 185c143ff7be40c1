#include "fatal_exit.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

void fatalExit(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        std::cout << line << std::endl;
    std::getchar();  // returns at once when standard input is closed
    // No destructors: GL objects held in statics must not be deleted while
    // the process goes down, perhaps without a current context.
    std::fflush(nullptr);
    std::_Exit(1);
}
