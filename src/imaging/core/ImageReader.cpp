#include "imaging/core/ImageReader.h"

#include <optional>

#include "imaging/core/Formats.h"
#include "imaging/core/JpegCodec.h"
#include "imaging/core/PcxReader.h"
#include "imaging/core/QtFormatReader.h"
#include "imaging/core/SafeFile.h"

namespace imaging {

namespace {

Image decodeAs(QByteArrayView data, std::optional<MinimumSize> reduceTo, const ProgressFn &progress)
{
    const FileFormat format = sniffFormat(data);
    switch (format) {
    case FileFormat::Jpeg:
        return decodeJpeg(data, reduceTo, progress);
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

Image decodeImageReduced(QByteArrayView data, MinimumSize atLeast, const ProgressFn &progress)
{
    return decodeAs(data, atLeast, progress);
}

Image readImageFileReduced(const QString &path, MinimumSize atLeast, const ProgressFn &progress)
{
    return decodeImageReduced(readRegularFile(path), atLeast, progress);
}

} // namespace imaging
