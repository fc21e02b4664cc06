// Our PNG reader on libpng: every depth and colour type becomes 8-bit RGB32
// row by row, damage is reported with its cause, and neither a forged size
// nor a chunk claiming gigabytes costs memory before the file is refused.

#include <ctime>

#include <QtEndian>
#include <QtTest>

#include "CodecFixtures.h"
#include "base/Error.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/PngCodec.h"

using fixtures::PngLayout;
using imaging::Error;

Q_DECLARE_METATYPE(fixtures::PngLayout)
Q_DECLARE_METATYPE(imaging::Error::Kind)

namespace {

constexpr qint64 kMiB = 1024 * 1024;

// The pattern with alpha falling from opaque at the left edge.
QImage translucentPattern(int width, int height)
{
    QImage image = fixtures::pattern(width, height).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb c = image.pixel(x, y);
            image.setPixel(x, y, qRgba(qRed(c), qGreen(c), qBlue(c), 255 - (x * 255) / std::max(width - 1, 1)));
        }
    return image;
}

// What the reader must make of an image with straight alpha: each channel
// over white, rounded.
QImage onWhite(const QImage &image)
{
    QImage out(image.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int a = qAlpha(c);
            const auto over = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
            out.setPixel(x, y, qRgb(over(qRed(c)), over(qGreen(c)), over(qBlue(c))));
        }
    return out;
}

QImage grey(const QImage &image)
{
    QImage out(image.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int g = qGray(image.pixel(x, y));
            out.setPixel(x, y, qRgba(g, g, g, qAlpha(image.pixel(x, y))));
        }
    return out;
}

fixtures::Failure failureOf(const QByteArray &png)
{
    return fixtures::failureOf([&] { (void)imaging::decodePng(png); });
}

} // namespace

class TestPngCodec : public QObject
{
    Q_OBJECT

private slots:
    void everyLayoutBecomesRgb32_data();
    void everyLayoutBecomesRgb32();
    void paletteTransparencyIsCompositedOntoWhite();
    void resolutionAndOrientationComeFromTheirChunks();
    void damageIsReportedWithItsCause_data();
    void damageIsReportedWithItsCause();
    void impossibleFilesAreRefusedBeforeAllocating_data();
    void impossibleFilesAreRefusedBeforeAllocating();
    void sixteenBitImageIsHeldOnlyAsEightBit();
};

void TestPngCodec::everyLayoutBecomesRgb32_data()
{
    QTest::addColumn<PngLayout>("layout");
    QTest::addColumn<QImage>("image");

    const QImage opaque = fixtures::pattern(37, 23);
    const QImage translucent = translucentPattern(37, 23);
    QTest::newRow("8-bit RGB") << PngLayout{8, false, false, false} << opaque;
    QTest::newRow("16-bit RGB") << PngLayout{16, false, false, false} << opaque;
    QTest::newRow("8-bit RGBA") << PngLayout{8, false, true, false} << translucent;
    QTest::newRow("16-bit RGBA") << PngLayout{16, false, true, false} << translucent;
    QTest::newRow("8-bit grey") << PngLayout{8, true, false, false} << grey(opaque);
    QTest::newRow("16-bit grey with alpha") << PngLayout{16, true, true, false} << grey(translucent);
    QTest::newRow("interlaced 8-bit RGB") << PngLayout{8, false, false, true} << opaque;
    QTest::newRow("interlaced 16-bit RGBA") << PngLayout{16, false, true, true} << translucent;
}

void TestPngCodec::everyLayoutBecomesRgb32()
{
    QFETCH(PngLayout, layout);
    QFETCH(QImage, image);

    const imaging::Image read = imaging::decodeImage(fixtures::pngOf(image, layout));
    QCOMPARE(read.pixels.format(), QImage::Format_RGB32);
    QCOMPARE(read.pixels, onWhite(image));
}

void TestPngCodec::paletteTransparencyIsCompositedOntoWhite()
{
    const QImage indexed = fixtures::indexedPattern(13, 7, 4);
    // Entry 0 clear, 1 at 40 %, the others opaque (tRNS may stop early).
    const QByteArray png = fixtures::palettePngOf(indexed, {0, 102});
    QImage expected = indexed.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            const QRgb c = expected.pixel(x, y);
            const int index = indexed.pixelIndex(x, y);
            expected.setPixel(x, y, qRgba(qRed(c), qGreen(c), qBlue(c), index == 0 ? 0 : index == 1 ? 102 : 255));
        }
    QCOMPARE(imaging::decodeImage(png).pixels, onWhite(expected));
}

void TestPngCodec::resolutionAndOrientationComeFromTheirChunks()
{
    const QByteArray png = fixtures::pngOf(fixtures::pattern(6, 4), {});
    QByteArray physical(9, '\0'); // 300 x 150 dpi in pixels per metre
    qToBigEndian<quint32>(11811, physical.data());
    qToBigEndian<quint32>(5906, physical.data() + 4);
    physical[8] = 1;
    const QByteArray exif = fixtures::exifPayload(6, true).mid(6); // eXIf holds the bare TIFF block
    const QByteArray tagged = fixtures::withPngChunk(fixtures::withPngChunk(png, "pHYs", physical), "eXIf", exif);

    const imaging::Image image = imaging::decodeImage(tagged);
    QCOMPARE(image.pixels.size(), QSize(4, 6)); // turned a quarter clockwise
    QCOMPARE(image.pixels.pixel(3, 0), fixtures::pattern(6, 4).pixel(0, 0));
    QCOMPARE(image.dpiX, 150.0);
    QCOMPARE(image.dpiY, 300.0);
    const imaging::ImageInfo info = imaging::probeImage(tagged);
    QCOMPARE(info.size, QSize(4, 6));
    QCOMPARE(info.dpiX, 150.0);
}

void TestPngCodec::damageIsReportedWithItsCause_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("cause");

    const QByteArray png = fixtures::pngOf(fixtures::pattern(64, 48), {});
    const qsizetype idat = fixtures::pngChunkAt(png, "IDAT");
    const qint64 idatLength = qFromBigEndian<quint32>(png.constData() + idat);
    QByteArray badCrc = png;
    badCrc[idat + 8 + idatLength] = char(badCrc[idat + 8 + idatLength] ^ 0x01);
    QByteArray badData = png;
    badData[idat + 8 + idatLength / 2] = char(badData[idat + 8 + idatLength / 2] ^ 0x40);

    QTest::newRow("truncated inside the image data") << png.left(idat + 8 + idatLength / 2) << "データが途中で終わっています";
    QTest::newRow("truncated before IEND") << png.left(png.size() - 12) << "データが途中で終わっています";
    QTest::newRow("bad CRC of the image data") << badCrc << "CRC error";
    // libpng meets the broken stream before it reads the chunk's CRC.
    QTest::newRow("a changed byte in the compressed data") << badData << QString();
}

void TestPngCodec::damageIsReportedWithItsCause()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, cause);

    const fixtures::Failure failure = failureOf(bytes);
    QVERIFY(failure.failed);
    QCOMPARE(failure.kind, Error::Kind::Damaged);
    QVERIFY2(failure.description.startsWith(QStringLiteral("ファイルが壊れています (")), qPrintable(failure.description));
    QVERIFY2(failure.description.contains(cause), qPrintable(failure.description));
}

void TestPngCodec::impossibleFilesAreRefusedBeforeAllocating_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Error::Kind>("kind");

    const QByteArray small = fixtures::pngOf(fixtures::pattern(16, 16), {});
    // A text chunk that claims 2 GB, as libpng's huge_tEXt_chunk crasher.
    QTest::newRow("text chunk claiming 2 GB")
        << fixtures::withPngChunk(small, "tEXt", "Comment\0x", 0x7FFFFF00) << Error::Kind::Damaged;
    QTest::newRow("14000 x 14000 from 16 x 16 pixels of data")
        << fixtures::withPngSize(small, 14000, 14000) << Error::Kind::Damaged;
    QTest::newRow("60000 x 60000") << fixtures::withPngSize(small, 60000, 60000) << Error::Kind::TooLarge;
}

void TestPngCodec::impossibleFilesAreRefusedBeforeAllocating()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Error::Kind, kind);

    fixtures::Failure failure;
    const std::clock_t start = std::clock();
    const qint64 growth = fixtures::peakMemoryGrowth([&] { failure = failureOf(bytes); });
    QVERIFY(failure.failed);
    QCOMPARE(failure.kind, kind);
    QVERIFY(std::clock() - start < CLOCKS_PER_SEC / 10);
    if (growth >= 0)
        QVERIFY2(growth < 4 * kMiB, qPrintable(QString::number(growth)));
}

void TestPngCodec::sixteenBitImageIsHeldOnlyAsEightBit()
{
    // 2500 x 2000 16-bit RGBA: 19 MiB as our 8-bit image, 38 MiB more for a
    // 16-bit copy of it.
    constexpr int kWidth = 2500, kHeight = 2000;
    const QByteArray png = fixtures::pngOf(fixtures::smooth(kWidth, kHeight).convertToFormat(QImage::Format_ARGB32),
                                           {16, false, true, false});
    imaging::Image image;
    const qint64 growth = fixtures::peakMemoryGrowth([&] { image = imaging::decodeImage(png); });
    QCOMPARE(image.pixels.size(), QSize(kWidth, kHeight));
    if (growth < 0)
        QSKIP("peak memory cannot be measured here");
    const qint64 eightBit = qint64(kWidth) * kHeight * 4;
    QVERIFY2(growth < eightBit + 8 * kMiB, qPrintable(QStringLiteral("%1 MiB").arg(growth / kMiB)));
}

QTEST_GUILESS_MAIN(TestPngCodec)
#include "tst_pngcodec.moc"
