#include "dds_writer.h"

#include <cstring>  // stb_dxt calls memcpy without including it

#define STB_DXT_IMPLEMENTATION
#include <stb/stb_dxt.h>

namespace {

void appendU32(std::string& bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

constexpr uint32_t flagsCapsHeightWidthPixelFormatLinearSize = 0x1 | 0x2 | 0x4 | 0x1000 | 0x80000;
constexpr uint32_t pixelFormatFourCC = 0x4;
constexpr uint32_t capsTexture = 0x1000;

std::string header(int width, int height, BlockFormat format, uint32_t imageSize)
{
    std::string bytes = "DDS ";
    appendU32(bytes, 124);
    appendU32(bytes, flagsCapsHeightWidthPixelFormatLinearSize);
    appendU32(bytes, static_cast<uint32_t>(height));
    appendU32(bytes, static_cast<uint32_t>(width));
    appendU32(bytes, imageSize);
    appendU32(bytes, 0);  // depth
    appendU32(bytes, 0);  // mipmap count
    for (int i = 0; i < 11; ++i)
        appendU32(bytes, 0);
    appendU32(bytes, 32);
    appendU32(bytes, pixelFormatFourCC);
    bytes += format == BlockFormat::dxt1 ? "DXT1" : "DXT5";
    for (int i = 0; i < 5; ++i)
        appendU32(bytes, 0);  // bit count and masks
    appendU32(bytes, capsTexture);
    for (int i = 0; i < 4; ++i)
        appendU32(bytes, 0);  // caps 2 to 4, reserved
    return bytes;
}

}  // namespace

std::string encodeDDS(const RgbaImage& image, BlockFormat format)
{
    const bool alpha = format == BlockFormat::dxt5;
    const size_t blockSize = alpha ? 16 : 8;
    const size_t blockCount = static_cast<size_t>(image.width / 4) * static_cast<size_t>(image.height / 4);
    std::string bytes = header(image.width, image.height, format, static_cast<uint32_t>(blockCount * blockSize));

    unsigned char source[64];
    unsigned char block[16];
    for (int by = 0; by < image.height; by += 4) {
        for (int bx = 0; bx < image.width; bx += 4) {
            for (int row = 0; row < 4; ++row) {
                const size_t start = (static_cast<size_t>(by + row) * static_cast<size_t>(image.width) +
                                      static_cast<size_t>(bx)) * 4;
                for (int i = 0; i < 16; ++i)
                    source[row * 16 + i] = image.pixels[start + static_cast<size_t>(i)];
            }
            stb_compress_dxt_block(block, source, alpha ? 1 : 0, STB_DXT_HIGHQUAL);
            bytes.append(reinterpret_cast<const char*>(block), blockSize);
        }
    }
    return bytes;
}
