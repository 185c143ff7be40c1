// The DDS reader on hand-built files: what it accepts, how much it takes,
// and which failure each broken or foreign file is. Buffers are parsed from
// exactly-sized heap copies so that AddressSanitizer sees any over-read.
#include "framework/dds_reader.h"

#include "dds_file_builder.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

DDSParseResult parseExact(const std::string& file)
{
    std::unique_ptr<uint8_t[]> copy(new uint8_t[file.size()]);
    std::copy(file.begin(), file.end(), copy.get());
    return parseDDS(copy.get(), file.size());
}

DDSStatus statusOf(const std::string& file)
{
    return parseExact(file).status;
}

std::string dataAfter(const std::string& file, size_t offset, size_t count)
{
    return file.substr(offset, count);
}

std::string asString(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(DDSReader, LegacyFourCCsMapToTheS3tcFormats)
{
    const struct {
        const char* fourCC;
        uint32_t format;
        uint32_t imageSize;
        uint32_t width;
        uint32_t height;
    } cases[] = {
        {"DXT1", compressedFormatDXT1, 32768, 256, 256},
        {"DXT3", compressedFormatDXT3, 65536, 256, 256},
        {"DXT5", compressedFormatDXT5, 65536, 256, 256},
        {"DXT5", compressedFormatDXT5, 32, 5, 3},  // partial blocks round up: 2 by 1
        {"DXT1", compressedFormatDXT1, 8, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fourCC);
        const std::string file = ddsfile::legacyFile(c.width, c.height, c.fourCC);
        const DDSParseResult result = parseExact(file);
        ASSERT_EQ(result.status, DDSStatus::ok);
        EXPECT_EQ(result.image.width, c.width);
        EXPECT_EQ(result.image.height, c.height);
        EXPECT_EQ(result.image.format, c.format);
        EXPECT_EQ(result.image.imageSize, c.imageSize);
        EXPECT_EQ(asString(result.image.data), dataAfter(file, ddsfile::legacyDataOffset, c.imageSize));
    }
}

TEST(DDSReader, Dx10BlockFormatsSkipTheExtensionHeader)
{
    const struct {
        uint32_t dxgi;
        uint32_t format;
    } cases[] = {
        {ddsfile::dxgiBC1, compressedFormatDXT1},     {ddsfile::dxgiBC1Srgb, compressedFormatDXT1},
        {ddsfile::dxgiBC2, compressedFormatDXT3},     {ddsfile::dxgiBC2Srgb, compressedFormatDXT3},
        {ddsfile::dxgiBC3, compressedFormatDXT5},     {ddsfile::dxgiBC3Srgb, compressedFormatDXT5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dxgi);
        const std::string file = ddsfile::dx10File(8, 8, c.dxgi);
        const DDSParseResult result = parseExact(file);
        ASSERT_EQ(result.status, DDSStatus::ok);
        EXPECT_EQ(result.image.format, c.format);
        EXPECT_EQ(asString(result.image.data),
                  dataAfter(file, ddsfile::dx10DataOffset, result.image.imageSize));
    }
}

TEST(DDSReader, Dx10WithoutRoomForItsBlocksIsUnreadable)
{
    // One byte short; a reader that took the extension for data would still find enough.
    std::string file = ddsfile::dx10File(4, 4, ddsfile::dxgiBC3Srgb);
    file.resize(file.size() - 1);
    EXPECT_EQ(statusOf(file), DDSStatus::unreadable);

    const std::string headerOnly = ddsfile::header(4, 4, "DX10", 16);
    for (size_t cut = 0; cut < 20; ++cut)
        EXPECT_EQ(statusOf(headerOnly + ddsfile::dx10Extension(ddsfile::dxgiBC3).substr(0, cut)),
                  DDSStatus::unreadable)
            << cut << " bytes of the extension";
}

TEST(DDSReader, Dx10OtherFormatsArraysAndVolumesAreUnsupported)
{
    const std::string head = ddsfile::header(4, 4, "DX10", 16);
    const std::string data = ddsfile::blocks(6 * 16);
    // Typeless BC1, RGBA8, BC4, BC7, and nothing at all.
    for (const uint32_t dxgi : {70u, 28u, 80u, 98u, 0u})
        EXPECT_EQ(statusOf(head + ddsfile::dx10Extension(dxgi) + data), DDSStatus::unsupportedFormat) << dxgi;
    const std::string notPlain[] = {ddsfile::dx10Extension(ddsfile::dxgiBC3, ddsfile::dimensionTexture3D),
                                    ddsfile::dx10Extension(ddsfile::dxgiBC3, ddsfile::dimensionTexture2D, 2),
                                    ddsfile::dx10Extension(ddsfile::dxgiBC3, ddsfile::dimensionTexture2D, 0),
                                    ddsfile::dx10Extension(ddsfile::dxgiBC3, ddsfile::dimensionTexture2D, 1, 0x4)};
    for (const std::string& extension : notPlain)
        EXPECT_EQ(statusOf(head + extension + data), DDSStatus::unsupportedFormat);
}

TEST(DDSReader, WellFormedFilesOfOtherKindsAreUnsupported)
{
    EXPECT_EQ(statusOf(ddsfile::header(4, 4, "", 16) + ddsfile::blocks(64)), DDSStatus::unsupportedFormat);
    for (const char* fourCC : {"DXT2", "DXT4", "ATI2", "BC4U", "dxt1"})
        EXPECT_EQ(statusOf(ddsfile::header(4, 4, fourCC, 16) + ddsfile::blocks(16)),
                  DDSStatus::unsupportedFormat)
            << fourCC;

    std::string cube = ddsfile::legacyFile(4, 4, "DXT1") + ddsfile::blocks(5 * 8);
    ddsfile::putU32(cube, ddsfile::caps2Offset, 0x200 | 0xFC00);
    EXPECT_EQ(statusOf(cube), DDSStatus::unsupportedFormat);
    std::string volume = ddsfile::legacyFile(4, 4, "DXT1");
    ddsfile::putU32(volume, ddsfile::caps2Offset, 0x200000);
    EXPECT_EQ(statusOf(volume), DDSStatus::unsupportedFormat);
}

TEST(DDSReader, EveryTruncationIsUnreadable)
{
    for (const std::string& file :
         {ddsfile::legacyFile(8, 4, "DXT1"), ddsfile::legacyFile(5, 3, "DXT5"),
          ddsfile::dx10File(4, 4, ddsfile::dxgiBC2)}) {
        ASSERT_EQ(statusOf(file), DDSStatus::ok);
        for (size_t length = 0; length < file.size(); ++length)
            EXPECT_EQ(statusOf(file.substr(0, length)), DDSStatus::unreadable) << length << " bytes";
    }
}

// Exactly the level-0 blocks are taken, whatever the header's linear size
// says and however much follows them.
TEST(DDSReader, LinearSizeFieldIsNotTrusted)
{
    for (const uint32_t lie : {0u, 8u, 31u, 33u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        std::string file = ddsfile::legacyFile(5, 3, "DXT5") + ddsfile::blocks(48, 200);
        ddsfile::putU32(file, ddsfile::linearSizeOffset, lie);
        const DDSParseResult result = parseExact(file);
        ASSERT_EQ(result.status, DDSStatus::ok) << "linear size " << lie;
        EXPECT_EQ(result.image.imageSize, 32u);
        EXPECT_EQ(asString(result.image.data), dataAfter(file, ddsfile::legacyDataOffset, 32));
    }
}

TEST(DDSReader, ZeroOrAbsurdDimensionsAreUnreadable)
{
    const struct {
        uint32_t width, height;
    } bad[] = {{0, 4}, {4, 0}, {0, 0}, {16385, 4}, {4, 16385}, {0xFFFFFFFF, 0xFFFFFFFF}, {0x40000000, 0x40000000}};
    for (const auto& size : bad) {
        // Plenty of data, so only the dimensions can be at fault.
        const std::string file = ddsfile::header(size.width, size.height, "DXT1", 8) + ddsfile::blocks(4096);
        EXPECT_EQ(statusOf(file), DDSStatus::unreadable) << size.width << "x" << size.height;
    }
    const DDSParseResult widest = parseExact(ddsfile::legacyFile(16384, 4, "DXT1"));
    EXPECT_EQ(widest.status, DDSStatus::ok);
    EXPECT_EQ(widest.image.imageSize, 32768u);
}

TEST(DDSReader, ForeignOrDamagedHeadersAreUnreadable)
{
    EXPECT_EQ(statusOf(""), DDSStatus::unreadable);
    EXPECT_EQ(statusOf("DDS "), DDSStatus::unreadable);

    std::string wrongMagic = ddsfile::legacyFile(4, 4, "DXT1");
    wrongMagic[3] = 'X';
    EXPECT_EQ(statusOf(wrongMagic), DDSStatus::unreadable);

    std::string wrongHeaderSize = ddsfile::legacyFile(4, 4, "DXT1");
    ddsfile::putU32(wrongHeaderSize, ddsfile::headerSizeOffset, 0xFFFFFF00);
    EXPECT_EQ(statusOf(wrongHeaderSize), DDSStatus::unreadable);

    std::string wrongPixelFormatSize = ddsfile::legacyFile(4, 4, "DXT1");
    ddsfile::putU32(wrongPixelFormatSize, ddsfile::pixelFormatSizeOffset, 0);
    EXPECT_EQ(statusOf(wrongPixelFormatSize), DDSStatus::unreadable);

    // A KTX 1.1 file holding one DXT5 level: identifier, then its own header.
    std::string ktx("\xABKTX 11\xBB\r\n\x1A\n", 12);
    ktx += std::string(52, '\0') + ddsfile::blocks(4 + 256);
    ddsfile::putU32(ktx, 12, 0x04030201);
    ddsfile::putU32(ktx, 28, compressedFormatDXT5);
    EXPECT_EQ(statusOf(ktx), DDSStatus::unreadable);
}

// Only the two failures that say why print a line, naming the resolved path.
TEST(LoadDDS, ReadsQuietlyAndReportsWhatItCannotUse)
{
    const std::string dir = makeScratchDir("load_dds");
    writeFile(dir + "/dxt5.dds", ddsfile::legacyFile(5, 3, "DXT5"));
    writeFile(dir + "/rgba.dds", ddsfile::header(4, 4, "", 64) + ddsfile::blocks(64));
    writeFile(dir + "/short.dds", ddsfile::legacyFile(8, 8, "DXT1").substr(0, 140));
    const struct {
        std::string path;
        std::string line;
        uint32_t imageSize;
    } cases[] = {
        {dir + "/dxt5.dds", "", 32},
        {dir + "/rgba.dds", "Unable to load DDS image file [" + dir + "/rgba.dds] due to an unsupported format.\n", 0},
        {dir + "/short.dds", "Unable to load DDS image file from path[" + dir + "/short.dds]\n", 0},
        {dir + "/missing.dds", "Unable to load DDS image file from path[" + dir + "/missing.dds]\n", 0},
        {dir, "Unable to load DDS image file from path[" + dir + "]\n", 0},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        const DDSImage image = loadDDS(c.path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.line);
        EXPECT_EQ(image.imageSize, c.imageSize) << c.path;
        EXPECT_EQ(image.data.size(), c.imageSize);
        EXPECT_EQ(image.format == 0, c.imageSize == 0);
    }
}
