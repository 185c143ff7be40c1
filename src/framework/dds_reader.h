// Reads the level-0 image of a block-compressed DDS file (DXT1, DXT3, DXT5,
// or BC1 to BC3 behind a DX10 extension header) into plain data for upload.
// The parser is pure and never reads past the buffer it is given; only
// loadDDS touches the file system and prints. No decoding happens here: the
// blocks go to the GPU as stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// GL internal formats of GL_EXT_texture_compression_s3tc, kept here so the
// reader needs no GL headers.
constexpr uint32_t compressedFormatDXT1 = 0x83F1;  // GL_COMPRESSED_RGBA_S3TC_DXT1_EXT
constexpr uint32_t compressedFormatDXT3 = 0x83F2;  // GL_COMPRESSED_RGBA_S3TC_DXT3_EXT
constexpr uint32_t compressedFormatDXT5 = 0x83F3;  // GL_COMPRESSED_RGBA_S3TC_DXT5_EXT

// Largest width or height the reader accepts.
constexpr uint32_t maxDDSDimension = 16384;

// The level-0 image, exactly as stored in the file. All zero and no data
// when loading failed.
struct DDSImage {
    std::vector<uint8_t> data;  // exactly imageSize bytes of compressed blocks
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t imageSize = 0;
    uint32_t format = 0;  // one of the compressedFormat constants
};

enum class DDSStatus {
    ok,
    unreadable,         // not a DDS file, truncated, or a header that contradicts itself
    unsupportedFormat,  // a sound DDS file holding something other than DXT1/3/5
};

struct DDSParseResult {
    DDSStatus status = DDSStatus::unreadable;
    DDSImage image;  // filled only when status is ok
};

// Bytes of level 0: whole 4x4 blocks, 8 bytes each for DXT1 and 16 otherwise.
uint32_t compressedImageSize(uint32_t width, uint32_t height, uint32_t format);

// Decides from the whole file's bytes whether it holds a usable image.
DDSParseResult parseDDS(const uint8_t* bytes, size_t size);
DDSParseResult parseDDS(const std::string& bytes);

// Reads and parses the file at the resolved `path`. On failure prints the
// one line that says why and returns an empty record.
DDSImage loadDDS(const std::string& path);
