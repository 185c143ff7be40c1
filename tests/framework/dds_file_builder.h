// Builds DDS files byte by byte for the reader and texture tests: a legacy
// header with a FourCC or an uncompressed pixel format, an optional DX10
// extension, and block data with a recognisable pattern.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ddsfile {

// Offsets into the file (magic included) of the fields the tests change.
constexpr size_t headerSizeOffset = 4;
constexpr size_t heightOffset = 12;
constexpr size_t widthOffset = 16;
constexpr size_t linearSizeOffset = 20;
constexpr size_t pixelFormatSizeOffset = 76;
constexpr size_t pixelFormatFlagsOffset = 80;
constexpr size_t caps2Offset = 112;
constexpr size_t legacyDataOffset = 128;
constexpr size_t dx10DataOffset = 148;

constexpr uint32_t dxgiBC1 = 71, dxgiBC1Srgb = 72, dxgiBC2 = 74, dxgiBC2Srgb = 75, dxgiBC3 = 77,
                   dxgiBC3Srgb = 78;
constexpr uint32_t dimensionTexture2D = 3, dimensionTexture3D = 4;

inline void putU32(std::string& bytes, size_t offset, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A copy of `bytes` with one field changed.
inline std::string withU32(std::string bytes, size_t offset, uint32_t value)
{
    putU32(bytes, offset, value);
    return bytes;
}

// "DDS " and the 124-byte header. `fourCC` of four characters, or empty for
// an uncompressed 32-bit RGBA layout.
inline std::string header(uint32_t width, uint32_t height, const std::string& fourCC, uint32_t linearSize)
{
    std::string bytes = "DDS ";
    bytes.resize(legacyDataOffset, '\0');
    putU32(bytes, headerSizeOffset, 124);
    putU32(bytes, 8, 0x1 | 0x2 | 0x4 | 0x1000 | 0x80000);  // caps, height, width, pixel format, linear size
    putU32(bytes, heightOffset, height);
    putU32(bytes, widthOffset, width);
    putU32(bytes, linearSizeOffset, linearSize);
    putU32(bytes, pixelFormatSizeOffset, 32);
    if (fourCC.empty()) {
        putU32(bytes, pixelFormatFlagsOffset, 0x40 | 0x1);  // RGB with alpha
        putU32(bytes, 88, 32);
        putU32(bytes, 92, 0x000000FF);
        putU32(bytes, 96, 0x0000FF00);
        putU32(bytes, 100, 0x00FF0000);
        putU32(bytes, 104, 0xFF000000);
    } else {
        putU32(bytes, pixelFormatFlagsOffset, 0x4);
        bytes.replace(84, 4, fourCC, 0, 4);
    }
    putU32(bytes, 108, 0x1000);  // a plain texture
    return bytes;
}

// The 20-byte DX10 extension that follows a header with FourCC "DX10".
inline std::string dx10Extension(uint32_t dxgiFormat, uint32_t dimension = dimensionTexture2D,
                                 uint32_t arraySize = 1, uint32_t miscFlag = 0)
{
    std::string bytes(20, '\0');
    putU32(bytes, 0, dxgiFormat);
    putU32(bytes, 4, dimension);
    putU32(bytes, 8, miscFlag);
    putU32(bytes, 12, arraySize);
    return bytes;
}

// `count` bytes that differ from their neighbours, starting at `seed`.
inline std::string blocks(size_t count, uint8_t seed = 1)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(static_cast<uint8_t>(seed + i * 7));
    return bytes;
}

// A complete, valid file: the header, the DX10 extension naming
// `dxgiFormat` when `fourCC` is "DX10", and exactly the level-0 blocks.
inline std::string validFile(uint32_t width, uint32_t height, const std::string& fourCC, uint32_t dxgiFormat = 0)
{
    const bool bc1 = fourCC == "DXT1" || dxgiFormat == dxgiBC1 || dxgiFormat == dxgiBC1Srgb;
    const size_t size = static_cast<size_t>((width + 3) / 4) * ((height + 3) / 4) * (bc1 ? 8 : 16);
    return header(width, height, fourCC, static_cast<uint32_t>(size)) +
           (fourCC == "DX10" ? dx10Extension(dxgiFormat) : "") + blocks(size);
}

}  // namespace ddsfile
