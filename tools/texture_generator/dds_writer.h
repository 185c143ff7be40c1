// Compresses an RGBA picture into DXT1 or DXT5 blocks with stb_dxt and
// wraps level 0 in a DDS container. Writes no mipmaps: the game builds its
// own on the GPU.
#pragma once

#include "image.h"

#include <string>

enum class BlockFormat { dxt1, dxt5 };

// The complete file. Width and height must be multiples of 4.
std::string encodeDDS(const RgbaImage& image, BlockFormat format);
