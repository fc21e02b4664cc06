#include "imaging/core/ImageReader.h"

#include <optional>

#include "imaging/core/Formats.h"
#include "imaging/core/JpegCodec.h"
#include "imaging/core/PcxReader.h"
#include "imaging/core/QtFormatReader.h"
#include "imaging/core/SafeFile.h"

namespace imaging {

namespace {

Image decodeAs(QByteArrayView data, std::optional<MinimumSize> reduceTo, const ProgressFn &progress,
               QRectF *jpegArea = nullptr)
{
    const FileFormat format = sniffFormat(data);
    switch (format) {
    case FileFormat::Jpeg:
        return decodeJpeg(data, reduceTo, progress, jpegArea);
    case FileFormat::Png:
    case FileFormat::Bmp:
    case FileFormat::Tiff:
        return decodeWithQt(data, format, progress);
    case FileFormat::Pcx: {
        ProgressReporter reporter(progress);
        reporter.report(0);
        Image image = decodePcx(data);
        reporter.done();
        return image;
    }
    case FileFormat::FlashPix:
    case FileFormat::Unknown:
        break;
    }
    throwUnsupported();
}

} // namespace

Image decodeImage(QByteArrayView data, const ProgressFn &progress)
{
    return decodeAs(data, std::nullopt, progress);
}

Image readImageFile(const QString &path, const ProgressFn &progress)
{
    return decodeImage(readRegularFile(path), progress);
}

Image decodeImageReduced(QByteArrayView data, MinimumSize atLeast, const ProgressFn &progress, QRectF *storedArea)
{
    QRectF jpegArea; // stays empty for the formats read whole
    Image image = decodeAs(data, atLeast, progress, &jpegArea);
    if (storedArea)
        *storedArea = jpegArea.isEmpty() ? QRectF(QPointF(0, 0), image.pixels.size()) : jpegArea;
    return image;
}

Image readImageFileReduced(const QString &path, MinimumSize atLeast, const ProgressFn &progress, QRectF *storedArea)
{
    return decodeImageReduced(readRegularFile(path), atLeast, progress, storedArea);
}

} // namespace imaging
