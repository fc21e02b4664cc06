// What the strip, the slideshows, contact sheets and the batch build on:
// the header probe, the read fitted into a box, cancelling a read from its
// progress callback, and readers running on several threads at once.

#include <ctime>
#include <thread>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <tiffio.h>

#include "CodecFixtures.h"
#include "FileSystemFixtures.h"
#include "base/Error.h"
#include "imaging/core/FittedRead.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/ImageWriter.h"
#include "imaging/core/Resize.h"

using imaging::Error;
using imaging::FileFormat;

Q_DECLARE_METATYPE(imaging::FileFormat)

namespace {

constexpr qint64 kMiB = 1024 * 1024;

QByteArray orientedJpeg(const QImage &stored, int orientation)
{
    return fixtures::withSegment(fixtures::jpegOf(stored), 0xE1, fixtures::exifPayload(orientation, false));
}

QByteArray orientedTiff(const QImage &stored, int orientation)
{
    fixtures::TiffLayout layout;
    layout.orientation = orientation;
    return fixtures::tiffOf(stored, layout);
}

} // namespace

class TestFittedRead : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void fittedSizeKeepsProportions_data();
    void fittedSizeKeepsProportions();
    void fittedReadMatchesTheWholeReadResized_data();
    void fittedReadMatchesTheWholeReadResized();
    void probeReadsTheHeaderOnly_data();
    void probeReadsTheHeaderOnly();
    void probeDoesNotReadTheWholeFile();
    void progressCallbackCancels_data();
    void progressCallbackCancels();
    void readersRunOnSeveralThreadsAtOnce();

private:
    QString file(const QString &name, const QByteArray &bytes)
    {
        return fixtures::fixtureFile(m_dir.path(), name, bytes);
    }

    QTemporaryDir m_dir;
};

void TestFittedRead::fittedSizeKeepsProportions_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<bool>("allowEnlarge");
    QTest::addColumn<QSize>("fitted");

    QTest::newRow("landscape into a square") << QSize(4000, 3000) << QSize(800, 800) << false << QSize(800, 600);
    QTest::newRow("portrait into a square") << QSize(3000, 4000) << QSize(800, 800) << false << QSize(600, 800);
    QTest::newRow("the height limits") << QSize(4000, 3000) << QSize(800, 300) << false << QSize(400, 300);
    QTest::newRow("the short side is rounded") << QSize(1000, 333) << QSize(100, 100) << false << QSize(100, 33);
    QTest::newRow("a thin line keeps a pixel") << QSize(10000, 2) << QSize(100, 100) << false << QSize(100, 1);
    QTest::newRow("a thumbnail cell, rounded") << QSize(500, 333) << QSize(100, 100) << false << QSize(100, 67);
    QTest::newRow("already fits: kept") << QSize(300, 200) << QSize(800, 800) << false << QSize(300, 200);
    QTest::newRow("already fits, enlarged") << QSize(300, 200) << QSize(800, 800) << true << QSize(800, 533);
    QTest::newRow("same proportions as the box") << QSize(1600, 1200) << QSize(800, 600) << false << QSize(800, 600);
}

void TestFittedRead::fittedSizeKeepsProportions()
{
    QFETCH(QSize, size);
    QFETCH(QSize, box);
    QFETCH(bool, allowEnlarge);
    QFETCH(QSize, fitted);

    QCOMPARE(imaging::fittedSize(size, box, allowEnlarge), fitted);
}

void TestFittedRead::fittedReadMatchesTheWholeReadResized_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<bool>("allowEnlarge");

    // Stored 640 x 400: a JPEG reduced to 1/2 for a 160-pixel box.
    const QImage photo = fixtures::smooth(640, 400);
    QTest::newRow("JPEG") << fixtures::jpegOf(photo) << QSize(160, 160) << false;
    QTest::newRow("JPEG stored on its side (6)") << orientedJpeg(photo, 6) << QSize(160, 160) << false;
    QTest::newRow("JPEG stored on its side (8)") << orientedJpeg(photo, 8) << QSize(150, 90) << false;
    QTest::newRow("JPEG upside down (3)") << orientedJpeg(photo, 3) << QSize(200, 200) << false;
    QTest::newRow("TIFF on its side (6)") << orientedTiff(photo, 6) << QSize(160, 160) << false;
    QTest::newRow("PNG") << fixtures::pngOf(photo, {}) << QSize(100, 300) << false;
    QTest::newRow("BMP enlarged") << imaging::encodeImage(imaging::Image{photo}, imaging::WriteBmp, 0)
                                  << QSize(1000, 1000) << true;
    QTest::newRow("PNG that fits, kept") << fixtures::pngOf(photo, {}) << QSize(1000, 1000) << false;
}

void TestFittedRead::fittedReadMatchesTheWholeReadResized()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, box);
    QFETCH(bool, allowEnlarge);

    const QImage whole = imaging::decodeImage(bytes).pixels;
    const QSize expectedSize = imaging::fittedSize(whole.size(), box, allowEnlarge);
    const QString path = file(QStringLiteral("fitted"), bytes);
    QList<int> percents;
    const imaging::Image fitted = imaging::readImageFileFitted(path, box, allowEnlarge,
                                                               [&](int p) { percents.append(p); });
    QCOMPARE(fitted.pixels.size(), expectedSize);
    const QImage reference = expectedSize == whole.size()
                                 ? whole
                                 : imaging::resizeImage(whole, expectedSize.width(), expectedSize.height());
    const double psnr = fixtures::psnr(fitted.pixels, reference);
    QVERIFY2(psnr > 38.0, qPrintable(QStringLiteral("%1 dB").arg(psnr)));
    QCOMPARE(percents.first(), 0);
    QCOMPARE(percents.last(), 100);
    // The same with one resizing thread, as a worker of a pool asks.
    QCOMPARE(imaging::readImageFileFitted(path, box, allowEnlarge, {}, 1).pixels, fitted.pixels);
}

void TestFittedRead::probeReadsTheHeaderOnly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<FileFormat>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("dpiX");

    const QImage stored = fixtures::pattern(24, 16);
    const imaging::Image at300{stored, 300, 300};
    QTest::newRow("JPEG, EXIF 6") << orientedJpeg(stored, 6) << FileFormat::Jpeg << QSize(16, 24) << 96.0;
    QTest::newRow("JPEG at 300 dpi") << imaging::encodeImage(at300, imaging::WriteJpeg, 80) << FileFormat::Jpeg
                                     << QSize(24, 16) << 300.0;
    QTest::newRow("PNG at 300 dpi") << imaging::encodeImage(at300, imaging::WritePng, 0) << FileFormat::Png
                                    << QSize(24, 16) << 300.0;
    QTest::newRow("TIFF, orientation 8") << orientedTiff(stored, 8) << FileFormat::Tiff << QSize(16, 24) << 96.0;
    QTest::newRow("BMP at 300 dpi") << imaging::encodeImage(at300, imaging::WriteBmp, 0) << FileFormat::Bmp
                                    << QSize(24, 16) << 300.0;
    QTest::newRow("PCX at 300 dpi") << fixtures::pcxFile(stored, {8, 3, true}, 300, 300) << FileFormat::Pcx
                                    << QSize(24, 16) << 300.0;
    // Headers that reach past the first bytes read: a camera's large
    // segments before the frame, a TIFF directory after big pixel data.
    QByteArray bigSegments = imaging::encodeImage(at300, imaging::WriteJpeg, 80);
    for (int i = 0; i < 3; ++i)
        bigSegments = fixtures::withSegment(bigSegments, 0xE2, QByteArray(60000, 'x'));
    QTest::newRow("JPEG, 180 KB of segments first") << bigSegments << FileFormat::Jpeg << QSize(24, 16) << 300.0;
    QTest::newRow("TIFF, directory after 1.5 MB of pixels")
        << orientedTiff(fixtures::pattern(800, 640), 1) << FileFormat::Tiff << QSize(800, 640) << 96.0;
}

void TestFittedRead::probeReadsTheHeaderOnly()
{
    QFETCH(QByteArray, bytes);
    QFETCH(FileFormat, format);
    QFETCH(QSize, size);
    QFETCH(double, dpiX);

    const imaging::ImageInfo info = imaging::probeImageFile(file(QStringLiteral("probed"), bytes));
    QCOMPARE(info.format, format);
    QCOMPARE(info.size, size);
    QCOMPARE(info.dpiX, dpiX);
    // The header alone is enough: the pixel data may be missing (libtiff
    // writes its directory after the pixels, so not for these TIFF files;
    // nor for the file whose segments fill its first three quarters).
    if (format != FileFormat::Tiff && bytes.size() < 64 * 1024)
        QCOMPARE(imaging::probeImage(bytes.left(bytes.size() * 3 / 4)).size, size);
}

void TestFittedRead::probeDoesNotReadTheWholeFile()
{
    // A JPEG header followed by a gigabyte of (sparse) nothing.
    const QString path = file(QStringLiteral("huge.jpg"), fixtures::jpegOf(fixtures::smooth(64, 48)));
    QFile huge(path);
    QVERIFY(huge.resize(qint64(1) << 30));

    imaging::ImageInfo info;
    const std::clock_t start = std::clock();
    const qint64 growth = fixtures::peakMemoryGrowth([&] { info = imaging::probeImageFile(path); });
    QCOMPARE(info.size, QSize(64, 48));
    QVERIFY(std::clock() - start < CLOCKS_PER_SEC / 10);
    if (growth >= 0)
        QVERIFY2(growth < 16 * kMiB, qPrintable(QStringLiteral("%1 MiB").arg(growth / kMiB)));
}

void TestFittedRead::progressCallbackCancels_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("cancelAt");
    QTest::addColumn<bool>("fitted");

    const QImage photo = fixtures::smooth(600, 400);
    const imaging::Image image{photo};
    QTest::newRow("baseline JPEG") << fixtures::jpegOf(photo) << 30 << false;
    QTest::newRow("progressive JPEG, inside libjpeg's scans")
        << imaging::encodeImage(image, imaging::WriteProgressiveJpeg, 90) << 30 << false;
    QTest::newRow("PNG") << fixtures::pngOf(photo, {}) << 30 << false;
    QTest::newRow("interlaced PNG") << fixtures::pngOf(photo, {8, false, false, true}) << 30 << false;
    fixtures::TiffLayout strips;
    strips.rowsPerStrip = 16;
    QTest::newRow("TIFF in strips") << fixtures::tiffOf(photo, strips) << 30 << false;
    QTest::newRow("BMP") << imaging::encodeImage(image, imaging::WriteBmp, 0) << 30 << false;
    QTest::newRow("fitted read, while resizing") << fixtures::jpegOf(photo) << 85 << true;
}

void TestFittedRead::progressCallbackCancels()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, cancelAt);
    QFETCH(bool, fitted);

    int last = -1;
    const auto cancel = [&](int percent) {
        last = percent;
        if (percent >= cancelAt)
            throw Error::of(Error::Kind::Cancelled);
    };
    try {
        if (fitted)
            (void)imaging::decodeImageFitted(bytes, QSize(100, 100), false, cancel);
        else
            (void)imaging::decodeImage(bytes, cancel);
        QFAIL("the read went on");
    } catch (const Error &error) {
        QCOMPARE(error.kind(), Error::Kind::Cancelled);
        QCOMPARE(error.description(), QStringLiteral("中止しました"));
    }
    QVERIFY2(last >= cancelAt && last < 100, qPrintable(QString::number(last)));
    // Nothing was left half done: the same bytes read again.
    QVERIFY(!imaging::decodeImage(bytes).pixels.isNull());
}

void TestFittedRead::readersRunOnSeveralThreadsAtOnce()
{
    const QImage photo = fixtures::smooth(400, 300);
    fixtures::TiffLayout lzw;
    lzw.compression = COMPRESSION_LZW;
    const QList<QByteArray> files = {fixtures::jpegOf(photo), fixtures::pngOf(photo, {16, false, false, false}),
                                     fixtures::tiffOf(photo, lzw),
                                     fixtures::withBadHuffmanCode(fixtures::jpegOf(photo))};
    QList<QImage> expected;
    for (const QByteArray &bytes : files) {
        try {
            expected.append(imaging::decodeImageFitted(bytes, QSize(90, 90), false).pixels);
        } catch (const Error &) {
            expected.append(QImage());
        }
    }
    std::atomic<int> mismatches{0};
    {
        std::vector<std::jthread> workers;
        for (int w = 0; w < 4; ++w) {
            workers.emplace_back([&, w] {
                for (int round = 0; round < 5; ++round) {
                    const auto i = qsizetype((w + round) % files.size());
                    QImage got;
                    try {
                        got = imaging::decodeImageFitted(files[i], QSize(90, 90), false, {}, 1).pixels;
                    } catch (const Error &) {
                    }
                    if (got != expected[i])
                        ++mismatches;
                }
            });
        }
    }
    QCOMPARE(mismatches.load(), 0);
}

QTEST_GUILESS_MAIN(TestFittedRead)
#include "tst_fittedread.moc"
