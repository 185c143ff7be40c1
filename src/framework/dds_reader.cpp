#include "dds_reader.h"

#include "console.h"
#include "file_io.h"

#include <optional>
#include <utility>

namespace {

// Byte offsets in the file: the 4-byte magic, then the 124-byte header.
constexpr size_t magicSize = 4;
constexpr size_t headerSize = 124;
constexpr size_t dx10HeaderSize = 20;
constexpr size_t headerStart = magicSize;
constexpr size_t headerSizeField = headerStart + 0;
constexpr size_t heightField = headerStart + 8;
constexpr size_t widthField = headerStart + 12;
constexpr size_t pixelFormatSizeField = headerStart + 72;
constexpr size_t pixelFormatFlagsField = headerStart + 76;
constexpr size_t fourCCField = headerStart + 80;
constexpr size_t caps2Field = headerStart + 108;
constexpr size_t dx10Start = headerStart + headerSize;
constexpr size_t dxgiFormatField = dx10Start + 0;
constexpr size_t resourceDimensionField = dx10Start + 4;
constexpr size_t dx10MiscFlagField = dx10Start + 8;
constexpr size_t arraySizeField = dx10Start + 12;

constexpr uint32_t pixelFormatSize = 32;
constexpr uint32_t pixelFormatHasFourCC = 0x4;
constexpr uint32_t caps2CubeMap = 0x200;
constexpr uint32_t caps2Volume = 0x200000;
constexpr uint32_t resourceDimensionTexture2D = 3;
constexpr uint32_t dx10MiscTextureCube = 0x4;

// DXGI_FORMAT values of the three block formats, plain and sRGB.
constexpr uint32_t dxgiBC1 = 71, dxgiBC1Srgb = 72;
constexpr uint32_t dxgiBC2 = 74, dxgiBC2Srgb = 75;
constexpr uint32_t dxgiBC3 = 77, dxgiBC3Srgb = 78;

constexpr uint32_t fourCC(char a, char b, char c, char d)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

// Callers check the buffer holds offset + 4 bytes.
uint32_t readU32(const uint8_t* bytes, size_t offset)
{
    return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

std::optional<uint32_t> formatFromFourCC(uint32_t code)
{
    if (code == fourCC('D', 'X', 'T', '1'))
        return compressedFormatDXT1;
    if (code == fourCC('D', 'X', 'T', '3'))
        return compressedFormatDXT3;
    if (code == fourCC('D', 'X', 'T', '5'))
        return compressedFormatDXT5;
    return std::nullopt;
}

// sRGB images go up with the linear format, as the game has always drawn them.
std::optional<uint32_t> formatFromDxgi(uint32_t dxgiFormat)
{
    switch (dxgiFormat) {
    case dxgiBC1:
    case dxgiBC1Srgb:
        return compressedFormatDXT1;
    case dxgiBC2:
    case dxgiBC2Srgb:
        return compressedFormatDXT3;
    case dxgiBC3:
    case dxgiBC3Srgb:
        return compressedFormatDXT5;
    default:
        return std::nullopt;
    }
}

DDSParseResult failure(DDSStatus status)
{
    DDSParseResult result;
    result.status = status;
    return result;
}

}  // namespace

uint32_t compressedImageSize(uint32_t width, uint32_t height, uint32_t format)
{
    const uint64_t blockSize = format == compressedFormatDXT1 ? 8 : 16;
    const uint64_t blocks = (static_cast<uint64_t>(width) + 3) / 4 * ((static_cast<uint64_t>(height) + 3) / 4);
    return static_cast<uint32_t>(blocks * blockSize);
}

DDSParseResult parseDDS(const uint8_t* bytes, size_t size)
{
    if (size < magicSize + headerSize || readU32(bytes, 0) != fourCC('D', 'D', 'S', ' '))
        return failure(DDSStatus::unreadable);
    if (readU32(bytes, headerSizeField) != headerSize ||
        readU32(bytes, pixelFormatSizeField) != pixelFormatSize)
        return failure(DDSStatus::unreadable);

    const uint32_t width = readU32(bytes, widthField);
    const uint32_t height = readU32(bytes, heightField);
    if (width == 0 || height == 0 || width > maxDDSDimension || height > maxDDSDimension)
        return failure(DDSStatus::unreadable);

    // Uncompressed, luminance and similar layouts carry no FourCC.
    if ((readU32(bytes, pixelFormatFlagsField) & pixelFormatHasFourCC) == 0)
        return failure(DDSStatus::unsupportedFormat);
    if ((readU32(bytes, caps2Field) & (caps2CubeMap | caps2Volume)) != 0)
        return failure(DDSStatus::unsupportedFormat);

    const uint32_t code = readU32(bytes, fourCCField);
    std::optional<uint32_t> format;
    size_t dataOffset = magicSize + headerSize;
    if (code == fourCC('D', 'X', '1', '0')) {
        if (size < magicSize + headerSize + dx10HeaderSize)
            return failure(DDSStatus::unreadable);
        const bool plain2D = readU32(bytes, resourceDimensionField) == resourceDimensionTexture2D &&
                             readU32(bytes, arraySizeField) == 1 &&
                             (readU32(bytes, dx10MiscFlagField) & dx10MiscTextureCube) == 0;
        if (!plain2D)
            return failure(DDSStatus::unsupportedFormat);
        format = formatFromDxgi(readU32(bytes, dxgiFormatField));
        dataOffset += dx10HeaderSize;
    } else {
        format = formatFromFourCC(code);
    }
    if (!format)
        return failure(DDSStatus::unsupportedFormat);

    // The header's own linear-size field is ignored: the block count decides
    // how much is read, so a field that lies can neither over-read nor leave
    // the upload short.
    const uint32_t imageSize = compressedImageSize(width, height, *format);
    if (size - dataOffset < imageSize)
        return failure(DDSStatus::unreadable);

    DDSParseResult result;
    result.status = DDSStatus::ok;
    result.image.data.assign(bytes + dataOffset, bytes + dataOffset + imageSize);
    result.image.width = width;
    result.image.height = height;
    result.image.imageSize = imageSize;
    result.image.format = *format;
    return result;
}

DDSParseResult parseDDS(const std::string& bytes)
{
    return parseDDS(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

DDSImage loadDDS(const std::string& path)
{
    const std::optional<std::string> bytes = readWholeFile(path);
    DDSParseResult result = bytes ? parseDDS(*bytes) : failure(DDSStatus::unreadable);
    switch (result.status) {
    case DDSStatus::ok:
        return std::move(result.image);
    case DDSStatus::unsupportedFormat:
        report(Severity::warning, "Unable to load DDS image file [" + path + "] due to an unsupported format.");
        break;
    case DDSStatus::unreadable:
        report(Severity::warning, "Unable to load DDS image file from path[" + path + "]");
        break;
    }
    return {};
}
