#include "fatal_exit.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

void fatalExit(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        std::cout << line << std::endl;
    std::getchar();  // returns at once when standard input is closed
    std::exit(1);
}
