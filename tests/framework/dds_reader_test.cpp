// The DDS reader on hand-built files: what it accepts, how much it takes,
// and which failure each broken or foreign file is. Buffers are parsed from
// exactly-sized heap copies so that AddressSanitizer sees any over-read.
#include "framework/dds_reader.h"

#include "dds_file_builder.h"
#include "framework/console.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <iterator>
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

}  // namespace

using namespace ddsfile;

// Exactly the level-0 blocks are taken, whatever the header's linear size
// says and however much follows them; the sRGB formats read as linear.
TEST(DDSReader, TakesTheLevelZeroBlocksOfTheThreeBlockFormats)
{
    const struct {
        uint32_t width, height;
        const char* fourCC;  // with "DX10", `dxgi` names the format
        uint32_t dxgi, format, imageSize;
    } cases[] = {
        {256, 256, "DXT1", 0, compressedFormatDXT1, 32768},
        {256, 256, "DXT3", 0, compressedFormatDXT3, 65536},
        {256, 256, "DXT5", 0, compressedFormatDXT5, 65536},
        {5, 3, "DXT5", 0, compressedFormatDXT5, 32},  // partial blocks round up: 2 by 1
        {1, 1, "DXT1", 0, compressedFormatDXT1, 8},
        {16384, 4, "DXT1", 0, compressedFormatDXT1, 32768},  // the widest allowed
        {8, 8, "DX10", dxgiBC1, compressedFormatDXT1, 32},
        {8, 8, "DX10", dxgiBC1Srgb, compressedFormatDXT1, 32},
        {8, 8, "DX10", dxgiBC2, compressedFormatDXT3, 64},
        {8, 8, "DX10", dxgiBC2Srgb, compressedFormatDXT3, 64},
        {8, 8, "DX10", dxgiBC3, compressedFormatDXT5, 64},
        {8, 8, "DX10", dxgiBC3Srgb, compressedFormatDXT5, 64},
    };
    const uint32_t linearSizes[] = {0u, 8u, 31u, 33u, 0x7FFFFFFFu, 0xFFFFFFFFu};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const std::string file = withU32(validFile(c.width, c.height, c.fourCC, c.dxgi), linearSizeOffset,
                                         linearSizes[i % std::size(linearSizes)]) + blocks(48, 200);
        SCOPED_TRACE(testing::Message() << c.fourCC << " " << c.dxgi << " " << c.width << "x" << c.height);
        const DDSParseResult result = parseExact(file);
        ASSERT_EQ(result.status, DDSStatus::ok);
        EXPECT_EQ(result.image.width, c.width);
        EXPECT_EQ(result.image.height, c.height);
        EXPECT_EQ(result.image.format, c.format);
        EXPECT_EQ(result.image.imageSize, c.imageSize);
        EXPECT_EQ(std::string(result.image.data.begin(), result.image.data.end()),
                  file.substr(c.dxgi ? dx10DataOffset : legacyDataOffset, c.imageSize));
    }
}

TEST(DDSReader, WellFormedFilesOfOtherKindsAreUnsupported)
{
    const std::string dx10 = header(4, 4, "DX10", 16), data = blocks(6 * 16);
    std::vector<std::string> files{
        header(4, 4, "", 16) + blocks(64),  // uncompressed RGBA
        withU32(validFile(4, 4, "DXT1") + blocks(5 * 8), caps2Offset, 0x200 | 0xFC00),  // a cube map
        withU32(validFile(4, 4, "DXT1"), caps2Offset, 0x200000),  // a volume
        dx10 + dx10Extension(dxgiBC3, dimensionTexture3D) + data,
        dx10 + dx10Extension(dxgiBC3, dimensionTexture2D, 2) + data,
        dx10 + dx10Extension(dxgiBC3, dimensionTexture2D, 0) + data,
        dx10 + dx10Extension(dxgiBC3, dimensionTexture2D, 1, 0x4) + data,  // a cube map
    };
    for (const char* fourCC : {"DXT2", "DXT4", "ATI2", "BC4U", "dxt1"})
        files.push_back(header(4, 4, fourCC, 16) + blocks(16));
    // Typeless BC1, RGBA8, BC4, BC7, and nothing at all.
    for (const uint32_t dxgi : {70u, 28u, 80u, 98u, 0u})
        files.push_back(dx10 + dx10Extension(dxgi) + data);
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(statusOf(files[i]), DDSStatus::unsupportedFormat) << "file " << i;
}

// Every truncation, a damaged header, zero or absurd dimensions with plenty
// of data after them, and a file of another kind.
TEST(DDSReader, BrokenOrForeignFilesAreUnreadable)
{
    // The DX10 file's cuts include every part of its extension, and one byte
    // short of its blocks, which a reader that took the extension for data
    // would still find enough.
    for (const std::string& file :
         {validFile(8, 4, "DXT1"), validFile(5, 3, "DXT5"), validFile(4, 4, "DX10", dxgiBC2)}) {
        ASSERT_EQ(statusOf(file), DDSStatus::ok);
        for (size_t length = 0; length < file.size(); ++length)
            EXPECT_EQ(statusOf(file.substr(0, length)), DDSStatus::unreadable) << length << " bytes";
    }

    const std::string good = validFile(4, 4, "DXT1");
    std::vector<std::string> files{withU32(good, 0, 0x58534444),  // "DDSX"
                                   withU32(good, headerSizeOffset, 0xFFFFFF00),
                                   withU32(good, pixelFormatSizeOffset, 0)};
    const struct {
        uint32_t width, height;
    } bad[] = {{0, 4}, {4, 0}, {0, 0}, {16385, 4}, {4, 16385}, {0xFFFFFFFF, 0xFFFFFFFF}, {0x40000000, 0x40000000}};
    for (const auto& size : bad)
        files.push_back(header(size.width, size.height, "DXT1", 8) + blocks(4096));
    // A KTX 1.1 file holding one DXT5 level: identifier, then its own header.
    std::string ktx = std::string("\xABKTX 11\xBB\r\n\x1A\n", 12) + std::string(52, '\0') + blocks(4 + 256);
    putU32(ktx, 12, 0x04030201);
    putU32(ktx, 28, compressedFormatDXT5);
    files.push_back(ktx);
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(statusOf(files[i]), DDSStatus::unreadable) << "file " << i;
}

// Only the two failures that say why print a line, naming the resolved path.
TEST(LoadDDS, ReadsQuietlyAndReportsWhatItCannotUse)
{
    const std::string dir = makeScratchDir("load_dds");
    writeFile(dir + "/dxt5.dds", validFile(5, 3, "DXT5"));
    writeFile(dir + "/rgba.dds", header(4, 4, "", 64) + blocks(64));
    writeFile(dir + "/short.dds", validFile(8, 8, "DXT1").substr(0, 140));
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
        const CapturedConsole console;
        const DDSImage image = loadDDS(c.path);
        EXPECT_EQ(console.text(StandardStream::output), c.line);
        EXPECT_EQ(image.imageSize, c.imageSize) << c.path;
        EXPECT_EQ(image.data.size(), c.imageSize);
        EXPECT_EQ(image.format == 0, c.imageSize == 0);
    }
}
