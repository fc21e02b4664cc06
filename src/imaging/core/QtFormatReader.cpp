#include "imaging/core/QtFormatReader.h"

#include <cstdlib>

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include "base/Error.h"

namespace imaging {

namespace {

// Qt refuses images above 128 MB by default, a 9000 x 6000 photo among them.
// Our own size check runs first; this only has to admit what it allows, at
// up to 8 bytes a pixel (16-bit RGBA).
constexpr int kAllocationLimitMb = int(kMaxPixels * 8 / (1024 * 1024)) + 1;

const char *qtFormatName(FileFormat format)
{
    switch (format) {
    case FileFormat::Png: return "png";
    case FileFormat::Bmp: return "bmp";
    case FileFormat::Tiff: return "tiff";
    default: throwUnsupported();
    }
}

quint32 le32(QByteArrayView data, qsizetype offset)
{
    return qFromLittleEndian<quint32>(data.data() + offset);
}

quint16 le16(QByteArrayView data, qsizetype offset)
{
    return qFromLittleEndian<quint16>(data.data() + offset);
}

[[noreturn]] void throwTruncated()
{
    throwDamaged(QStringLiteral("truncated image data"));
}

// A PNG is complete when its chunks follow each other up to IEND. (libpng
// checks each chunk's CRC itself.)
void checkPngChunks(QByteArrayView data)
{
    qsizetype pos = 8;
    for (;;) {
        if (data.size() - pos < 12)
            throwTruncated();
        const quint32 length = qFromBigEndian<quint32>(data.data() + pos);
        if (length > 0x7FFFFFFFu || qint64(length) > data.size() - pos - 12)
            throwTruncated();
        if (data.sliced(pos + 4, 4) == "IEND")
            return;
        pos += 12 + qsizetype(length);
    }
}

// A run-length BMP is complete when its codes reach the end-of-bitmap code
// inside the file.
void checkBmpRunLength(QByteArrayView data, qint64 pos, bool fourBit)
{
    for (;;) {
        if (data.size() - pos < 2)
            throwTruncated();
        const int count = static_cast<quint8>(data[pos]);
        const int code = static_cast<quint8>(data[pos + 1]);
        pos += 2;
        if (count > 0 || code == 0)
            continue; // a run, or the end of a line
        if (code == 1)
            return; // end of bitmap
        if (code == 2) {
            pos += 2; // delta: two offset bytes
            continue;
        }
        const int bytes = fourBit ? (code + 1) / 2 : code; // literal pixels...
        pos += bytes + bytes % 2;                          // ...padded to a word
    }
}

enum BmpCompression : quint32 { BmpRgb = 0, BmpRle8 = 1, BmpRle4 = 2, BmpBitfields = 3, BmpAlphaBitfields = 6 };

struct BmpHeader
{
    qint64 width = 0;
    qint64 height = 0; // negative in top-down files
    qint64 bits = 0;
    quint32 compression = BmpRgb;
    qint64 pixelsAt = 0;
};

BmpHeader readBmpHeader(QByteArrayView data)
{
    BmpHeader header;
    if (data.size() < 26)
        throwTruncated();
    header.pixelsAt = le32(data, 10);
    if (le32(data, 14) == 12) { // the old OS/2 core header
        header.width = le16(data, 18);
        header.height = le16(data, 20);
        header.bits = le16(data, 24);
        return header;
    }
    if (data.size() < 34)
        throwTruncated();
    header.width = qint32(le32(data, 18));
    header.height = qint32(le32(data, 22));
    header.bits = le16(data, 28);
    header.compression = le32(data, 30);
    return header;
}

// An uncompressed BMP is complete when the file holds every padded row.
void checkBmpPixels(QByteArrayView data)
{
    const BmpHeader header = readBmpHeader(data);
    if (header.compression == BmpRle8 || header.compression == BmpRle4) {
        checkBmpRunLength(data, header.pixelsAt, header.compression == BmpRle4);
        return;
    }
    if (header.compression != BmpRgb && header.compression != BmpBitfields
        && header.compression != BmpAlphaBitfields)
        return; // embedded JPEG or PNG: Qt refuses those itself
    const qint64 rowBytes = (header.width * header.bits + 31) / 32 * 4;
    if (header.pixelsAt + rowBytes * std::abs(header.height) > data.size())
        throwTruncated();
}

void checkStructure(QByteArrayView data, FileFormat format)
{
    if (format == FileFormat::Png)
        checkPngChunks(data);
    else if (format == FileFormat::Bmp)
        checkBmpPixels(data);
    // libtiff reports truncated or corrupt strips as errors itself.
}

// The size in the header, read by us for PNG and BMP so that every forged
// size meets our limit, whatever the library would make of it. TIFF keeps
// its size in a directory anywhere in the file: Qt finds it.
void checkDeclaredSize(QByteArrayView data, FileFormat format, QImageReader &reader)
{
    if (format == FileFormat::Png) {
        if (data.size() < 24)
            throwTruncated();
        checkImageSize(qFromBigEndian<quint32>(data.data() + 16), qFromBigEndian<quint32>(data.data() + 20));
    } else if (format == FileFormat::Bmp) {
        const BmpHeader header = readBmpHeader(data);
        checkImageSize(header.width, std::abs(header.height));
    }
    const QSize size = reader.size();
    if (reader.error() == QImageReader::UnsupportedFormatError)
        throwUnsupported();
    if (!size.isValid())
        throwDamaged(QStringLiteral("unreadable image header"));
    checkImageSize(size.width(), size.height());
}

QImage onWhite(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage composed = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < composed.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(composed.scanLine(y));
        for (int x = 0; x < composed.width(); ++x) {
            const int clear = 255 - qAlpha(row[x]);
            row[x] = qRgb(qRed(row[x]) + clear, qGreen(row[x]) + clear, qBlue(row[x]) + clear);
        }
    }
    return composed.convertToFormat(QImage::Format_RGB32);
}

} // namespace

Image decodeWithQt(QByteArrayView data, FileFormat format, const ProgressFn &progress)
{
    ProgressReporter reporter(progress);
    reporter.report(0);
    QByteArray bytes = QByteArray::fromRawData(data.data(), data.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, qtFormatName(format));
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMb);

    checkDeclaredSize(data, format, reader);
    checkStructure(data, format);

    // Qt's readers fill an image of the right size and format that they are
    // given: start from a blank one, never from uninitialised memory.
    QImage pixels;
    if (reader.imageFormat() != QImage::Format_Invalid) {
        pixels = QImage(reader.size(), reader.imageFormat());
        pixels.fill(0);
    }
    if (!reader.read(&pixels) || pixels.isNull())
        throwDamaged(lowerFirst(reader.errorString()));

    Image image{onWhite(pixels), dpiFromDotsPerMeter(pixels.dotsPerMeterX()), dpiFromDotsPerMeter(pixels.dotsPerMeterY())};
    if (image.pixels.isNull())
        throw Error(Error::Kind::TooLarge, QStringLiteral("not enough memory for the image"));
    reporter.done();
    return image;
}

} // namespace imaging
