// Our TIFF reader on libtiff: every layout libtiff converts loads with its
// pixels, orientation and resolution, and any libtiff error while decoding
// makes the file damaged instead of showing streaks or grey.

#include <QtTest>

#include <tiffio.h>

#include "CodecFixtures.h"
#include "base/Error.h"
#include "imaging/core/ImageReader.h"

using fixtures::TiffLayout;
using imaging::Error;

Q_DECLARE_METATYPE(fixtures::TiffLayout)

namespace {

constexpr qint64 kMiB = 1024 * 1024;

QImage blackAndWhite(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x / 3 + y / 5) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return image;
}

QImage greyOf(const QImage &image)
{
    QImage out(image.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int g = qGray(image.pixel(x, y));
            out.setPixel(x, y, qRgb(g, g, g));
        }
    return out;
}

QByteArray zeroedFromHalf(QByteArray tiff)
{
    const fixtures::ByteRange data = fixtures::tiffPixelData(tiff);
    for (qsizetype i = data.first + (data.end - data.first) / 2; i < data.end - 2; ++i)
        tiff[i] = '\0';
    return tiff;
}

QByteArray withBrokenCodeWord(QByteArray tiff)
{
    const fixtures::ByteRange data = fixtures::tiffPixelData(tiff);
    const qsizetype at = data.first + (data.end - data.first) / 2;
    tiff[at] = '\xFF';
    tiff[at + 1] = '\xFF';
    return tiff;
}

} // namespace

class TestTiffCodec : public QObject
{
    Q_OBJECT

private slots:
    void everyLayoutLoads_data();
    void everyLayoutLoads();
    void jpegCompressedStripLoads();
    void orientationTagTurnsUpright_data();
    void orientationTagTurnsUpright();
    void resolutionKeepsItsUnit_data();
    void resolutionKeepsItsUnit();
    void onlyTheFirstPageIsRead();
    void decodingErrorsMakeTheFileDamaged_data();
    void decodingErrorsMakeTheFileDamaged();
    void unconvertibleLayoutsSayWhat_data();
    void unconvertibleLayoutsSayWhat();
    void sixteenBitPlanarHoldsOnlyTheResult();
};

void TestTiffCodec::everyLayoutLoads_data()
{
    QTest::addColumn<TiffLayout>("layout");
    QTest::addColumn<QImage>("expected");

    const QImage rgb = fixtures::pattern(37, 23);
    QTest::newRow("8-bit RGB, one strip") << TiffLayout{} << rgb;
    QTest::newRow("8-bit RGB, strips of 5 rows") << TiffLayout{8, 3, PHOTOMETRIC_RGB, COMPRESSION_NONE, false, 0, 5} << rgb;
    QTest::newRow("8-bit RGB, LZW") << TiffLayout{8, 3, PHOTOMETRIC_RGB, COMPRESSION_LZW} << rgb;
    QTest::newRow("8-bit RGB, deflate, planar")
        << TiffLayout{8, 3, PHOTOMETRIC_RGB, COMPRESSION_ADOBE_DEFLATE, true} << rgb;
    QTest::newRow("8-bit RGB, 16 x 16 tiles") << TiffLayout{8, 3, PHOTOMETRIC_RGB, COMPRESSION_NONE, false, 16} << rgb;
    QTest::newRow("16-bit RGB") << TiffLayout{16} << rgb;
    QTest::newRow("16-bit RGB, planar, tiled") << TiffLayout{16, 3, PHOTOMETRIC_RGB, COMPRESSION_NONE, true, 16} << rgb;
    QTest::newRow("8-bit grey") << TiffLayout{8, 1, PHOTOMETRIC_MINISBLACK} << greyOf(rgb);
    QTest::newRow("16-bit grey") << TiffLayout{16, 1, PHOTOMETRIC_MINISBLACK} << greyOf(rgb);
    QTest::newRow("CMYK") << TiffLayout{8, 4, PHOTOMETRIC_SEPARATED} << rgb;
    const QImage fax = blackAndWhite(37, 23);
    QTest::newRow("1-bit, CCITT G4") << TiffLayout{1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4} << fax;
    QTest::newRow("1-bit, PackBits") << TiffLayout{1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_PACKBITS} << fax;
}

void TestTiffCodec::everyLayoutLoads()
{
    QFETCH(TiffLayout, layout);
    QFETCH(QImage, expected);

    const imaging::Image image = imaging::decodeImage(fixtures::tiffOf(expected, layout));
    QCOMPARE(image.pixels.format(), QImage::Format_RGB32);
    QCOMPARE(image.pixels, expected);
}

void TestTiffCodec::jpegCompressedStripLoads()
{
    const QImage photo = fixtures::smooth(96, 64);
    const imaging::Image image = imaging::decodeImage(
        fixtures::tiffOf(photo, TiffLayout{8, 3, PHOTOMETRIC_YCBCR, COMPRESSION_JPEG}));
    QVERIFY(fixtures::psnr(image.pixels, photo) > 35.0);
}

void TestTiffCodec::orientationTagTurnsUpright_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("upright");
    QTest::addColumn<QPoint>("whereTheFirstPixelGoes");

    // Stored 6 x 4; orientation says where the stored top-left lies upright.
    QTest::newRow("1: as stored") << 1 << QSize(6, 4) << QPoint(0, 0);
    QTest::newRow("3: upside down") << 3 << QSize(6, 4) << QPoint(5, 3);
    QTest::newRow("6: turn right") << 6 << QSize(4, 6) << QPoint(3, 0);
    QTest::newRow("8: turn left") << 8 << QSize(4, 6) << QPoint(0, 5);
}

void TestTiffCodec::orientationTagTurnsUpright()
{
    QFETCH(int, orientation);
    QFETCH(QSize, upright);
    QFETCH(QPoint, whereTheFirstPixelGoes);

    const QImage stored = fixtures::pattern(6, 4);
    TiffLayout layout;
    layout.orientation = orientation;
    const QByteArray tiff = fixtures::tiffOf(stored, layout);
    const imaging::Image image = imaging::decodeImage(tiff);
    QCOMPARE(image.pixels.size(), upright);
    QCOMPARE(image.pixels.pixel(whereTheFirstPixelGoes), stored.pixel(0, 0));
    QCOMPARE(imaging::probeImage(tiff).size, upright);
}

void TestTiffCodec::resolutionKeepsItsUnit_data()
{
    QTest::addColumn<double>("resolution");
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("dpi");

    QTest::newRow("300 per inch") << 300.0 << int(RESUNIT_INCH) << 300.0;
    QTest::newRow("100 per centimetre") << 100.0 << int(RESUNIT_CENTIMETER) << 254.0;
    QTest::newRow("no unit: an aspect ratio only") << 2.0 << int(RESUNIT_NONE) << 96.0;
    QTest::newRow("none given") << 0.0 << int(RESUNIT_INCH) << 96.0;
}

void TestTiffCodec::resolutionKeepsItsUnit()
{
    QFETCH(double, resolution);
    QFETCH(int, unit);
    QFETCH(double, dpi);

    TiffLayout layout;
    layout.resolution = resolution;
    layout.resolutionUnit = unit;
    const QByteArray tiff = fixtures::tiffOf(fixtures::pattern(4, 4), layout);
    QCOMPARE(imaging::decodeImage(tiff).dpiX, dpi);
    QCOMPARE(imaging::probeImage(tiff).dpiY, dpi);
}

void TestTiffCodec::onlyTheFirstPageIsRead()
{
    TiffLayout layout;
    layout.pages = 3;
    QCOMPARE(imaging::decodeImage(fixtures::tiffOf(fixtures::pattern(9, 5), layout)).pixels, fixtures::pattern(9, 5));
}

void TestTiffCodec::decodingErrorsMakeTheFileDamaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("cause");

    const QByteArray g4 = fixtures::tiffOf(blackAndWhite(200, 100),
                                           TiffLayout{1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4});
    const QByteArray jpeg = fixtures::tiffOf(fixtures::smooth(256, 128),
                                             TiffLayout{8, 3, PHOTOMETRIC_YCBCR, COMPRESSION_JPEG});
    const QByteArray lzw = fixtures::tiffOf(fixtures::pattern(64, 48), TiffLayout{8, 3, PHOTOMETRIC_RGB, COMPRESSION_LZW});
    const QByteArray plain = fixtures::tiffOf(fixtures::pattern(64, 48), TiffLayout{});

    QTest::newRow("G4 with a broken code word") << withBrokenCodeWord(g4) << "Bad code word";
    QTest::newRow("JPEG-in-TIFF with half its strip zeroed") << zeroedFromHalf(jpeg) << "JPEG";
    QTest::newRow("LZW strip cut short") << lzw.left(fixtures::tiffPixelData(lzw).end / 2) << QString();
    QTest::newRow("uncompressed strip cut short") << plain.left(plain.size() / 2) << QString();
    QTest::newRow("header only") << plain.left(8) << QString();
}

void TestTiffCodec::decodingErrorsMakeTheFileDamaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, cause);

    const fixtures::Failure failure = fixtures::failureOf([&] { (void)imaging::decodeImage(bytes); });
    QVERIFY2(failure.failed, "a damaged file was shown");
    QCOMPARE(failure.kind, Error::Kind::Damaged);
    QVERIFY2(failure.description.contains(cause), qPrintable(failure.description));
}

void TestTiffCodec::unconvertibleLayoutsSayWhat_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("description");

    QTest::newRow("32-bit samples") << fixtures::tiffOf(fixtures::pattern(4, 4), TiffLayout{32})
                                    << "対応していない形式です (32 ビットの TIFF)";
}

void TestTiffCodec::unconvertibleLayoutsSayWhat()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, description);

    const fixtures::Failure failure = fixtures::failureOf([&] { (void)imaging::decodeImage(bytes); });
    QVERIFY2(failure.failed, "read what it cannot convert");
    QCOMPARE(failure.kind, Error::Kind::Unsupported);
    QCOMPARE(failure.description, description);
}

void TestTiffCodec::sixteenBitPlanarHoldsOnlyTheResult()
{
    // 2000 x 1500 16-bit planar RGB in strips of 16 rows: 11 MiB as our
    // 8-bit image; a 16-bit copy would add 17 MiB.
    constexpr int kWidth = 2000, kHeight = 1500;
    const QByteArray tiff = fixtures::tiffOf(fixtures::smooth(kWidth, kHeight),
                                             TiffLayout{16, 3, PHOTOMETRIC_RGB, COMPRESSION_NONE, true, 0, 16});
    imaging::Image image;
    const qint64 growth = fixtures::peakMemoryGrowth([&] { image = imaging::decodeImage(tiff); });
    QCOMPARE(image.pixels.size(), QSize(kWidth, kHeight));
    QCOMPARE(image.pixels.pixel(kWidth - 1, kHeight - 1), fixtures::smooth(kWidth, kHeight).pixel(kWidth - 1, kHeight - 1));
    if (growth < 0)
        QSKIP("peak memory cannot be measured here");
    QVERIFY2(growth < qint64(kWidth) * kHeight * 4 + 4 * kMiB, qPrintable(QStringLiteral("%1 MiB").arg(growth / kMiB)));
}

QTEST_GUILESS_MAIN(TestTiffCodec)
#include "tst_tiffcodec.moc"
