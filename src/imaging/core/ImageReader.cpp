#include "imaging/core/ImageReader.h"

#include "base/Error.h"

#include "imaging/core/BmpReader.h"
#include "imaging/core/Formats.h"
#include "imaging/core/JpegCodec.h"
#include "imaging/core/PcxReader.h"
#include "imaging/core/PngCodec.h"
#include "imaging/core/SafeFile.h"
#include "imaging/core/TiffCodec.h"

namespace imaging {

StoredImage decodeImageStored(QByteArrayView data, std::optional<MinimumSize> reduceTo, const ProgressFn &progress)
{
    switch (sniffFormat(data)) {
    case FileFormat::Jpeg: return decodeJpeg(data, reduceTo, progress);
    case FileFormat::Png: return decodePng(data, progress);
    case FileFormat::Tiff: return decodeTiff(data, progress);
    case FileFormat::Bmp: return storedWhole(decodeBmp(data, progress));
    case FileFormat::Pcx: {
        ProgressReporter reporter(progress);
        reporter.report(0);
        StoredImage image = storedWhole(decodePcx(data));
        reporter.done();
        return image;
    }
    case FileFormat::FlashPix:
    case FileFormat::Unknown:
        break;
    }
    throwUnsupported();
}

Image decodeImage(QByteArrayView data, const ProgressFn &progress)
{
    return uprightOf(decodeImageStored(data, std::nullopt, progress));
}

Image readImageFile(const QString &path, const ProgressFn &progress)
{
    return decodeImage(readRegularFile(path), progress);
}

Image decodeImageReduced(QByteArrayView data, MinimumSize atLeast, const ProgressFn &progress)
{
    return uprightOf(decodeImageStored(data, atLeast, progress));
}

Image readImageFileReduced(const QString &path, MinimumSize atLeast, const ProgressFn &progress)
{
    return decodeImageReduced(readRegularFile(path), atLeast, progress);
}

ImageInfo probeImage(QByteArrayView data)
{
    switch (sniffFormat(data)) {
    case FileFormat::Jpeg: return probeJpeg(data);
    case FileFormat::Png: return probePng(data);
    case FileFormat::Tiff: return probeTiff(data);
    case FileFormat::Bmp: return probeBmp(data);
    case FileFormat::Pcx: return probePcx(data);
    case FileFormat::FlashPix:
    case FileFormat::Unknown:
        break;
    }
    throwUnsupported();
}

ImageInfo probeImageFile(const QString &path)
{
    // Headers are small: most files tell their size in the first 64 KiB. A
    // header that reaches further (large camera segments, a TIFF directory
    // at the end) is read again with more, up to the whole file.
    for (qint64 limit = 64 * 1024;; limit *= 16) {
        const FileHead head = readFileHead(path, limit);
        if (head.bytes.size() >= head.fileSize)
            return probeImage(head.bytes);
        try {
            return probeImage(head.bytes);
        } catch (const Error &error) {
            if (error.kind() != Error::Kind::Damaged)
                throw;
        }
    }
}

} // namespace imaging
