// PNG files from the generator's RGBA pictures, through stb_image_write.
#pragma once

#include "texture_generator/image.h"

#include <string>

// The bytes of a PNG file of `image`: 8-bit RGBA, no metadata, so the same
// pixels always give the same bytes.
std::string encodePNG(const RgbaImage& image);
