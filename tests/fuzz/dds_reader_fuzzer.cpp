// libFuzzer entry for the DDS reader: any bytes must parse without reading
// outside the buffer, and an accepted image must keep the reader's promises.
#include "framework/dds_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const DDSParseResult result = parseDDS(bytes, size);
    const DDSImage& image = result.image;
    if (result.status != DDSStatus::ok) {
        if (!image.data.empty() || image.width != 0 || image.height != 0 || image.imageSize != 0 ||
            image.format != 0)
            __builtin_trap();
        return 0;
    }
    const bool knownFormat = image.format == compressedFormatDXT1 || image.format == compressedFormatDXT3 ||
                             image.format == compressedFormatDXT5;
    const bool sensibleSize = image.width != 0 && image.height != 0 && image.width <= maxDDSDimension &&
                              image.height <= maxDDSDimension;
    const bool exactData = image.imageSize == compressedImageSize(image.width, image.height, image.format) &&
                           image.data.size() == image.imageSize && image.imageSize <= size;
    if (!knownFormat || !sensibleSize || !exactData)
        __builtin_trap();
    return 0;
}
