// Where an installed game keeps its assets: the places the asset search
// tries only after the upward search has found nothing. An installed data
// folder holds what the source tree keeps under "assets/", so
// "assets/shaders/texture.vert" is "<folder>/shaders/texture.vert" there.
// These places are tried one after the other and never add a candidate to
// the upward search, so they cannot make a path ambiguous.
#pragma once

#include <string>
#include <vector>

// The data folders in the order they are tried: `dataVariable` (the value of
// GLIMMERDEEP_DATA) when it is set and not empty, then share/glimmerdeep
// beside the executable's own folder, so a moved install still finds its data.
std::vector<std::string> dataFolders(const char* dataVariable, const std::string& executableDirectory);

// The file for `relativePath` in the first of `folders` that holds it, or "".
// A folder that does not exist, or is a file, is passed over.
std::string findInDataFolders(const std::vector<std::string>& folders, const std::string& relativePath);
