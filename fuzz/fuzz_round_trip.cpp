// Any bytes as an image to write and read back: its size, resolution and
// pixels come from the bytes. Every lossless format must give the same
// pixels and resolution back, JPEG the same size; anything else is a crash.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/Error.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/ImageWriter.h"

namespace {

imaging::Image imageFrom(const uint8_t *data, size_t size)
{
    const int width = 1 + data[0] % 48;
    const int height = 1 + data[1] % 48;
    const double dpi[] = {96, 72, 300, 600, 1, 65535};
    QImage pixels(width, height, QImage::Format_RGB32);
    const size_t pixelBytes = size - 3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t at = 3 + (size_t(y * width + x) * 3) % pixelBytes;
            pixels.setPixel(x, y, qRgb(data[at], data[3 + (at - 2) % pixelBytes], data[3 + (at - 1) % pixelBytes]));
        }
    return {pixels, dpi[data[2] % 6], dpi[(data[2] / 6) % 6]};
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const imaging::Image image = imageFrom(data, size);
    for (int operation : {imaging::WriteBmp, imaging::WritePng, imaging::WriteTiff}) {
        const imaging::Image read = imaging::decodeImage(imaging::encodeImage(image, operation, 0));
        require(read.pixels == image.pixels);
        require(read.dpiX == image.dpiX && read.dpiY == image.dpiY);
    }
    for (int operation : {imaging::WriteJpeg, imaging::WriteProgressiveJpeg}) {
        const int quality = 1 + data[2] % 100;
        const imaging::Image read = imaging::decodeImage(imaging::encodeImage(image, operation, quality));
        require(read.pixels.size() == image.pixels.size());
    }
    return 0;
}
