#include "imaging/core/ImageWriter.h"

#include <QBuffer>
#include <QImageWriter>

#include "base/Error.h"
#include "imaging/core/JpegCodec.h"
#include "imaging/core/PngCodec.h"
#include "imaging/core/SafeFile.h"

namespace imaging {

namespace {

constexpr int kTiffLzw = 1; // QImageWriter's compression code for TIFF

// A second header over the same pixels, so that setting the resolution does
// not copy them. The writers only read through it.
QImage withResolution(const QImage &pixels, const Image &image)
{
    QImage view(const_cast<uchar *>(pixels.constBits()), pixels.width(), pixels.height(),
                pixels.bytesPerLine(), pixels.format());
    view.setDotsPerMeterX(dotsPerMeterFromDpi(image.dpiX));
    view.setDotsPerMeterY(dotsPerMeterFromDpi(image.dpiY));
    return view;
}

QByteArray encodeWithQt(const Image &image, const char *format, const ProgressFn &progress)
{
    ProgressReporter reporter(progress);
    reporter.report(0);
    const QImage pixels = image.pixels.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull())
        throw Error::of(Error::Kind::InvalidHandle);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (qstrcmp(format, "tiff") == 0)
        writer.setCompression(kTiffLzw);
    if (!writer.write(withResolution(pixels, image)))
        throw Error::of(Error::Kind::WriteFailed, writer.errorString());
    reporter.done();
    return bytes;
}

} // namespace

QByteArray encodeImage(const Image &image, int operation, int quality, const ProgressFn &progress)
{
    switch (operation) {
    case WriteBmp: return encodeWithQt(image, "bmp", progress);
    case WriteTiff: return encodeWithQt(image, "tiff", progress);
    case WritePng: return encodePng(image, progress);
    case WriteJpeg: return encodeJpeg(image, quality, false, progress);
    case WriteProgressiveJpeg: return encodeJpeg(image, quality, true, progress);
    default:
        throw Error::of(Error::Kind::InvalidArgument, QStringLiteral("ファイル操作 %1 はありません").arg(operation));
    }
}

void writeImageFile(const QString &path, const Image &image, int operation, int quality,
                    const ProgressFn &progress)
{
    // Encoding takes up to 90 %; 100 % means the file is on disk.
    ProgressReporter reporter(progress);
    const QByteArray bytes = encodeImage(image, operation, quality,
                                         [&reporter](int percent) { reporter.report(percent * 9 / 10); });
    writeFileAtomically(path, bytes);
    reporter.done();
}

} // namespace imaging
