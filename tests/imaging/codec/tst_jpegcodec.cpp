// The JPEG codec beyond plain reading: EXIF orientation, reduced decoding,
// the cap on progressive scans, colour spaces, density, and exceptions from
// progress callbacks crossing libjpeg.

#include <ctime>
#include <stdexcept>

#include <QtTest>

#include "CodecFixtures.h"
#include "base/Error.h"
#include "imaging/core/Exif.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/JpegCodec.h"

using imaging::Error;
using imaging::MinimumSize;

Q_DECLARE_METATYPE(imaging::MinimumSize)

namespace {

constexpr int kBlock = 16;

QRgb colourOf(QChar letter)
{
    switch (letter.unicode()) {
    case 'R': return qRgb(255, 0, 0);
    case 'G': return qRgb(0, 255, 0);
    case 'B': return qRgb(0, 0, 255);
    case 'C': return qRgb(0, 255, 255);
    case 'M': return qRgb(255, 0, 255);
    default: return qRgb(255, 255, 0); // 'Y'
    }
}

// "RGB/CMY": rows of coloured blocks, top to bottom.
QImage blocks(const QString &layout, int block = kBlock)
{
    const QStringList rows = layout.split(u'/');
    QImage image(int(rows[0].size()) * block, int(rows.size()) * block, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, colourOf(rows[y / block][x / block]));
    return image;
}

bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Compares the centre of every block with the layout.
bool showsLayout(const QImage &image, const QString &layout, int block)
{
    const QStringList rows = layout.split(u'/');
    if (image.size() != QSize(int(rows[0].size()) * block, int(rows.size()) * block))
        return false;
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            if (!near(image.pixel(c * block + block / 2, r * block + block / 2), colourOf(rows[r][c]), 24))
                return false;
    return true;
}

QByteArray orientedJpeg(const QString &storedLayout, int orientation, bool bigEndian)
{
    return fixtures::withSegment(fixtures::jpegOf(blocks(storedLayout)), 0xE1,
                                 fixtures::exifPayload(orientation, bigEndian));
}

const QString kUpright = QStringLiteral("RGB/CMY");

QByteArray patched(QByteArray bytes, qsizetype at, QByteArray with)
{
    bytes.replace(at, with.size(), with);
    return bytes;
}

} // namespace

class TestJpegCodec : public QObject
{
    Q_OBJECT

private slots:
    void exifOrientationTurnsUpright_data();
    void exifOrientationTurnsUpright();
    void reducedReadIsUprightToo();
    void malformedExifMeansUpright_data();
    void malformedExifMeansUpright();
    void scaleIsTheSmallestStillLargeEnough_data();
    void scaleIsTheSmallestStillLargeEnough();
    void reducedReadDecodesAtThatScale_data();
    void reducedReadDecodesAtThatScale();
    void scansBeyondTheCapAreRefusedQuickly_data();
    void scansBeyondTheCapAreRefusedQuickly();
    void otherColourSpacesBecomeRgb_data();
    void otherColourSpacesBecomeRgb();
    void densityBecomesDpi_data();
    void densityBecomesDpi();
    void exceptionFromProgressCrossesLibjpeg();
    void harmlessWarningsLoadAndDataLossDoesNot_data();
    void harmlessWarningsLoadAndDataLossDoesNot();
};

void TestJpegCodec::exifOrientationTurnsUpright_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("bigEndian");

    // How a camera stores the upright "RGB/CMY" for each orientation.
    const QStringList stored = {"RGB/CMY", "BGR/YMC", "YMC/BGR", "CMY/RGB",
                                "RC/GM/BY", "BY/GM/RC", "YB/MG/CR", "CR/MG/YB"};
    for (bool bigEndian : {false, true}) {
        for (int orientation = 1; orientation <= 8; ++orientation) {
            const QString name = QStringLiteral("%1, %2").arg(orientation).arg(bigEndian ? "MM" : "II");
            QTest::newRow(qPrintable(name)) << orientation << stored[orientation - 1] << bigEndian;
        }
    }
}

void TestJpegCodec::exifOrientationTurnsUpright()
{
    QFETCH(int, orientation);
    QFETCH(QString, stored);
    QFETCH(bool, bigEndian);

    const imaging::Image image = imaging::decodeImage(orientedJpeg(stored, orientation, bigEndian));
    QVERIFY(showsLayout(image.pixels, kUpright, kBlock));
    QCOMPARE(image.pixels.format(), QImage::Format_RGB32);
}

void TestJpegCodec::reducedReadIsUprightToo()
{
    // Stored 32 x 48, upright 48 x 32. The wanted size is upright, so half
    // scale (24 x 16 upright) suffices; read in stored terms it would not.
    const QByteArray jpeg = orientedJpeg(QStringLiteral("BY/GM/RC"), 6, false);
    const imaging::Image image = imaging::decodeImageReduced(jpeg, MinimumSize{24, 16, 0});
    QVERIFY(showsLayout(image.pixels, kUpright, kBlock / 2));
}

void TestJpegCodec::malformedExifMeansUpright_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("orientation");

    // Payload layout: "Exif\0\0", byte order at 6, IFD offset at 10, entry
    // count at 14, then the entry: tag 16, type 18, count 20, value 24.
    const QByteArray good = fixtures::exifPayload(6, false);
    QTest::newRow("well formed") << good << 6;
    QTest::newRow("well formed, big-endian") << fixtures::exifPayload(3, true) << 3;
    QTest::newRow("no Exif signature") << patched(good, 0, QByteArray("Exif\0X", 6)) << 1;
    QTest::newRow("unknown byte order") << patched(good, 6, "XX") << 1;
    QTest::newRow("cut after the signature") << good.left(8) << 1;
    QTest::newRow("cut inside the entry") << good.left(22) << 1;
    QTest::newRow("IFD offset past the end") << patched(good, 10, QByteArray("\x00\x01\x00\x00", 4)) << 1;
    QTest::newRow("IFD offset at the top of the range") << patched(good, 10, QByteArray("\xF8\xFF\xFF\xFF", 4)) << 1;
    QTest::newRow("more entries than bytes, none the orientation")
        << patched(patched(good, 14, QByteArray("\xFF\xFF", 2)), 16, QByteArray("\x10\x01", 2)) << 1;
    QTest::newRow("orientation stored as a long") << patched(good, 18, QByteArray("\x04\x00", 2)) << 1;
    QTest::newRow("orientation with count 0") << patched(good, 20, QByteArray(4, '\0')) << 1;
    QTest::newRow("orientation 0") << patched(good, 24, QByteArray(2, '\0')) << 1;
    QTest::newRow("orientation 9") << patched(good, 24, QByteArray("\x09\x00", 2)) << 1;
}

void TestJpegCodec::malformedExifMeansUpright()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, orientation);

    QCOMPARE(imaging::exifOrientation(payload), orientation);
}

void TestJpegCodec::scaleIsTheSmallestStillLargeEnough_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<MinimumSize>("atLeast");
    QTest::addColumn<int>("denominator");

    QTest::newRow("long side 500 of 4000: 1/8") << QSize(4000, 3000) << MinimumSize{0, 0, 500} << 8;
    QTest::newRow("long side 501 of 4000: 1/4") << QSize(4000, 3000) << MinimumSize{0, 0, 501} << 4;
    QTest::newRow("long side 2000 of 4000: 1/2") << QSize(4000, 3000) << MinimumSize{0, 0, 2000} << 2;
    QTest::newRow("long side 2001 of 4000: whole") << QSize(4000, 3000) << MinimumSize{0, 0, 2001} << 1;
    QTest::newRow("portrait, long side 1000: 1/4") << QSize(3000, 4000) << MinimumSize{0, 0, 1000} << 4;
    QTest::newRow("scaled sizes round up: 4001 / 8 = 501") << QSize(4001, 3001) << MinimumSize{0, 0, 501} << 8;
    QTest::newRow("the tighter side decides") << QSize(4000, 3000) << MinimumSize{100, 1000, 0} << 2;
    QTest::newRow("both sides") << QSize(4000, 3000) << MinimumSize{1000, 750, 0} << 4;
    QTest::newRow("nothing asked: 1/8") << QSize(4000, 3000) << MinimumSize{} << 8;
    QTest::newRow("larger than the image: whole") << QSize(4000, 3000) << MinimumSize{5000, 0, 0} << 1;
    QTest::newRow("tiny image") << QSize(5, 3) << MinimumSize{0, 0, 1} << 8;
}

void TestJpegCodec::scaleIsTheSmallestStillLargeEnough()
{
    QFETCH(QSize, stored);
    QFETCH(MinimumSize, atLeast);
    QFETCH(int, denominator);

    QCOMPARE(imaging::jpegScaleFor(stored, atLeast), denominator);
}

void TestJpegCodec::reducedReadDecodesAtThatScale_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<MinimumSize>("atLeast");
    QTest::addColumn<QSize>("size");

    const QImage photo = fixtures::smooth(800, 600);
    const QByteArray jpeg = fixtures::jpegOf(photo);
    QTest::newRow("JPEG, long side 100: 1/8") << jpeg << MinimumSize{0, 0, 100} << QSize(100, 75);
    QTest::newRow("JPEG, long side 101: 1/4") << jpeg << MinimumSize{0, 0, 101} << QSize(200, 150);
    QTest::newRow("JPEG, 400 x 300: 1/2") << jpeg << MinimumSize{400, 300, 0} << QSize(400, 300);
    QTest::newRow("PNG is read whole") << fixtures::qtEncoded(photo, "png") << MinimumSize{0, 0, 100}
                                       << QSize(800, 600);
}

void TestJpegCodec::reducedReadDecodesAtThatScale()
{
    QFETCH(QByteArray, bytes);
    QFETCH(MinimumSize, atLeast);
    QFETCH(QSize, size);

    const imaging::Image image = imaging::decodeImageReduced(bytes, atLeast);
    QCOMPARE(image.pixels.size(), size);
    // Still the same picture: a reduced decode matches the full one scaled.
    const QImage expected = fixtures::smooth(800, 600).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY(fixtures::psnr(image.pixels, expected) > 30.0);
}

void TestJpegCodec::scansBeyondTheCapAreRefusedQuickly_data()
{
    QTest::addColumn<int>("repeats");
    QTest::addColumn<int>("side");
    QTest::addColumn<bool>("refused");

    // The file's own two scans come on top of the repeats.
    QTest::newRow("60 repeats are still read") << 60 << 16 << false;
    QTest::newRow("63 repeats are refused") << 63 << 16 << true;
    QTest::newRow("5000 repeats are refused") << 5000 << 16 << true;
    QTest::newRow("5000 repeats over 4000 x 4000 are refused") << 5000 << 4000 << true;
}

void TestJpegCodec::scansBeyondTheCapAreRefusedQuickly()
{
    QFETCH(int, repeats);
    QFETCH(int, side);
    QFETCH(bool, refused);

    const QByteArray jpeg = fixtures::progressiveWithRepeatedScans(repeats, side);
    // Processor time: the two cores are shared, and the point is the work.
    const std::clock_t start = std::clock();
    try {
        const imaging::Image image = imaging::decodeImage(jpeg);
        QVERIFY(!refused);
        QCOMPARE(image.pixels.pixel(side / 2, side / 2), qRgb(0x80, 0x80, 0x80));
    } catch (const Error &error) {
        QVERIFY2(refused, qPrintable(error.description()));
        QCOMPARE(error.kind(), Error::Kind::Unsupported);
        QCOMPARE(error.description(), QStringLiteral("対応していない形式です (スキャンの多すぎるプログレッシブ JPEG)"));
        QVERIFY(std::clock() - start < CLOCKS_PER_SEC);
    }
}

void TestJpegCodec::otherColourSpacesBecomeRgb_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QRgb>("colour");

    // CMYK samples as Adobe files store them, inverted: 255 means no ink.
    const QByteArray invertedRed("\xFF\x00\x00\xFF", 4);
    QTest::newRow("greyscale") << fixtures::jpegInColourSpace("gray", QByteArray(1, '\x50')) << qRgb(0x50, 0x50, 0x50);
    QTest::newRow("CMYK with Adobe marker") << fixtures::jpegInColourSpace("cmyk", invertedRed) << qRgb(255, 0, 0);
    QTest::newRow("YCCK") << fixtures::jpegInColourSpace("ycck", invertedRed) << qRgb(255, 0, 0);
    QTest::newRow("CMYK without Adobe marker: plain ink values")
        << fixtures::jpegInColourSpace("cmyk-plain", QByteArray("\x00\xFF\xFF\x00", 4)) << qRgb(255, 0, 0);
}

void TestJpegCodec::otherColourSpacesBecomeRgb()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QRgb, colour);

    const imaging::Image image = imaging::decodeImage(bytes);
    QCOMPARE(image.pixels.format(), QImage::Format_RGB32);
    QVERIFY2(near(image.pixels.pixel(8, 8), colour, 3), qPrintable(QString::number(image.pixels.pixel(8, 8), 16)));
}

void TestJpegCodec::densityBecomesDpi_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<double>("dpiX");
    QTest::addColumn<double>("dpiY");

    const QByteArray jpeg = fixtures::jpegOf(fixtures::smooth(8, 8));
    QTest::newRow("dots per inch") << fixtures::withJfifDensity(jpeg, 1, 300, 150) << 300.0 << 150.0;
    QTest::newRow("dots per centimetre") << fixtures::withJfifDensity(jpeg, 2, 100, 50) << 254.0 << 127.0;
    QTest::newRow("aspect ratio only") << fixtures::withJfifDensity(jpeg, 0, 1, 1) << 96.0 << 96.0;
    QTest::newRow("zero density") << fixtures::withJfifDensity(jpeg, 1, 0, 0) << 96.0 << 96.0;
    QTest::newRow("no JFIF segment") << fixtures::withoutJfif(jpeg) << 96.0 << 96.0;
    QTest::newRow("turned by EXIF: the densities swap")
        << fixtures::withSegment(fixtures::withJfifDensity(jpeg, 1, 300, 150), 0xE1, fixtures::exifPayload(6, false))
        << 150.0 << 300.0;
}

void TestJpegCodec::densityBecomesDpi()
{
    QFETCH(QByteArray, bytes);
    QFETCH(double, dpiX);
    QFETCH(double, dpiY);

    const imaging::Image image = imaging::decodeImage(bytes);
    QCOMPARE(image.dpiX, dpiX);
    QCOMPARE(image.dpiY, dpiY);
}

void TestJpegCodec::exceptionFromProgressCrossesLibjpeg()
{
    // A progress handler may throw (a window's guard, a cancel): the
    // exception must come out of the codec intact, with libjpeg cleaned up.
    const QImage photo = fixtures::smooth(256, 256);
    const QByteArray jpeg = fixtures::jpegOf(photo);
    const auto throwHalfWay = [](int percent) {
        if (percent >= 50)
            throw std::runtime_error("stopped");
    };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, (void)imaging::decodeJpeg(jpeg, {}, throwHalfWay));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             (void)imaging::encodeJpeg(imaging::Image{photo}, 90, true, throwHalfWay));
    QCOMPARE(imaging::decodeJpeg(jpeg).image.pixels.size(), QSize(256, 256));
}

void TestJpegCodec::harmlessWarningsLoadAndDataLossDoesNot_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("description"); // empty: loads

    const QImage photo = fixtures::smooth(64, 48);
    const QByteArray jpeg = fixtures::jpegOf(photo);
    QByteArray unknownRevision = jpeg; // JFIF 3.01: "unknown JFIF revision"
    unknownRevision[11] = '\x03';
    QByteArray bogusIcc = fixtures::withSegment(jpeg, 0xE2, QByteArray("ICC_PROFILE\0\x02\x01", 14) + "x");

    QTest::newRow("stray bytes before the scan") << fixtures::withBytesBeforeScan(jpeg, QByteArray("\x00\x17garbage", 9)) << QString();
    QTest::newRow("unknown JFIF revision") << unknownRevision << QString();
    QTest::newRow("broken ICC segment") << bogusIcc << QString();
    QTest::newRow("data after the end of the image") << jpeg + QByteArray(100, '\x42') << QString();
    // A harmless warning first must not hide the fault that follows.
    QTest::newRow("stray bytes, then truncated")
        << fixtures::withBytesBeforeScan(jpeg, QByteArray("\x00\x17", 2)).left(jpeg.size() / 2)
        << "ファイルが壊れています (データが途中で終わっています)";
    QTest::newRow("truncated") << jpeg.left(jpeg.size() * 2 / 3) << "ファイルが壊れています (データが途中で終わっています)";
    QTest::newRow("bad Huffman code") << fixtures::withBadHuffmanCode(jpeg)
                                      << "ファイルが壊れています (画像データに誤りがあります)";
    QTest::newRow("12-bit samples") << fixtures::withJpegPrecision(jpeg, 12) << "対応していない形式です (12 ビット JPEG)";
}

void TestJpegCodec::harmlessWarningsLoadAndDataLossDoesNot()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, description);

    try {
        const imaging::Image image = imaging::decodeImage(bytes);
        QVERIFY2(description.isEmpty(), "a damaged file was shown");
        QVERIFY(fixtures::psnr(image.pixels, fixtures::smooth(64, 48)) > 35.0);
    } catch (const Error &error) {
        QCOMPARE(error.description(), description);
    }
}

QTEST_GUILESS_MAIN(TestJpegCodec)
#include "tst_jpegcodec.moc"
