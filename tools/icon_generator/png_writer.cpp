#include "png_writer.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace {

void appendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

}  // namespace

std::string encodePNG(const RgbaImage& image)
{
    std::string bytes;
    stbi_write_png_to_func(appendBytes, &bytes, image.width, image.height, 4, image.pixels.data(), image.width * 4);
    return bytes;
}
