// Where the tests find the repository and the build tree, and scratch folders.
#pragma once

#include <string>

std::string sourceDir();  // the repository root
std::string binaryDir();  // the top of the build tree

// A fresh, empty directory under the build tree for one test.
std::string makeScratchDir(const std::string& name);

void writeFile(const std::string& path, const std::string& bytes);

// A file written under the build tree's scratch folder, with the relative
// path by which the upward asset search finds it from a test executable.
struct ScratchAsset {
    std::string relativePath;  // "scratch/<test>/<file>"
    std::string fullPath;
};
ScratchAsset writeScratchAsset(const std::string& test, const std::string& file, const std::string& bytes);
