// Where the tests find the repository and the build tree, and scratch folders.
#pragma once

#include <string>

std::string sourceDir();  // the repository root
std::string binaryDir();  // the top of the build tree

// A fresh, empty directory under the build tree for one test.
std::string makeScratchDir(const std::string& name);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
