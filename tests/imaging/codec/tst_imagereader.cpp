// Reading image files: the format comes from the content, and every kind of
// bad input (damaged data, forged sizes, files that are not files) is refused
// with the right kind of error instead of a garbage image or a hang.

#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "CodecFixtures.h"
#include "FileSystemFixtures.h"
#include "base/Error.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/ImageWriter.h"

using imaging::Error;
using Kind = imaging::Error::Kind;

Q_DECLARE_METATYPE(imaging::Error::Kind)

namespace {

QByteArray cut(const QByteArray &bytes, qsizetype keep)
{
    return bytes.left(keep);
}

QByteArray flipped(QByteArray bytes, qsizetype at)
{
    bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
    return bytes;
}

// An unexpected restart marker three quarters into the entropy-coded data.
QByteArray withStrayMarker(QByteArray jpeg)
{
    const qsizetype at = jpeg.size() * 3 / 4;
    jpeg[at] = '\xFF';
    jpeg[at + 1] = '\xD3';
    return jpeg;
}

} // namespace

class TestImageReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void formatIsDecidedByContent_data();
    void formatIsDecidedByContent();
    void unsupportedContentIsRefused_data();
    void unsupportedContentIsRefused();
    void damagedFilesAreReportedAsDamaged_data();
    void damagedFilesAreReportedAsDamaged();
    void declaredSizeIsRefusedBeforeDecoding_data();
    void declaredSizeIsRefusedBeforeDecoding();
    void largePhotoWithinLimitsOpens_data();
    void largePhotoWithinLimitsOpens();
    void transparencyIsCompositedOntoWhite();
    void onlyRegularFilesAreOpened_data();
    void onlyRegularFilesAreOpened();
    void unreadableFileNamesTheReason();
    void pathsAreTakenAsGiven_data();
    void pathsAreTakenAsGiven();
    void progressRisesToHundred_data();
    void progressRisesToHundred();

private:
    QString file(const QString &name, const QByteArray &bytes)
    {
        return fixtures::fixtureFile(m_dir.path(), name, bytes);
    }

    QTemporaryDir m_dir;
};

void TestImageReader::formatIsDecidedByContent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("lossless");

    const QImage image = fixtures::pattern(24, 16);
    const QImage photo = fixtures::smooth(24, 16);
    QTest::newRow("PNG named .jpg") << "png.jpg" << fixtures::qtEncoded(image, "png") << true;
    QTest::newRow("BMP named .png") << "bmp.png" << fixtures::qtEncoded(image, "bmp") << true;
    QTest::newRow("little-endian TIFF named .bmp") << "tiff.bmp" << fixtures::stripTiff(image, false) << true;
    QTest::newRow("big-endian TIFF named .jpg") << "tiffmm.jpg" << fixtures::stripTiff(image, true) << true;
    QTest::newRow("JPEG named .tif") << "jpeg.tif" << fixtures::jpegOf(photo) << false;
    QTest::newRow("PCX named .png") << "pcx.png"
                                    << fixtures::pcxFile(image, {8, 3, true}) << true;
    QTest::newRow("PNG without an extension") << "png" << fixtures::qtEncoded(image, "png") << true;
}

void TestImageReader::formatIsDecidedByContent()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, lossless);

    const imaging::Image read = imaging::readImageFile(file(name, bytes));
    const QImage expected = lossless ? fixtures::pattern(24, 16) : fixtures::smooth(24, 16);
    QCOMPARE(read.pixels.format(), QImage::Format_RGB32);
    QCOMPARE(read.pixels.size(), expected.size());
    if (lossless)
        QCOMPARE(read.pixels, expected);
    else
        QVERIFY(fixtures::psnr(read.pixels, expected) > 35.0);
}

void TestImageReader::unsupportedContentIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("WebP") << QByteArray("RIFF\x1A\0\0\0WEBPVP8 \x0E\0\0\0\x30\x01\0\x9D\x01\x2A\x01\0\x01\0\0\0\0\0", 34);
    QTest::newRow("XPM") << QByteArray("/* XPM */\nstatic char *x[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n");
    QTest::newRow("text") << QByteArray("holiday photos, see the folder\n");
    QTest::newRow("text starting with BM") << QByteArray("BMW and other cars: a list of photos\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("FlashPix") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0');
    QTest::newRow("GIF") << QByteArray("GIF89a\x01\0\x01\0\x80\0\0\0\0\0\xFF\xFF\xFF,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;", 35);
}

void TestImageReader::unsupportedContentIsRefused()
{
    QFETCH(QByteArray, bytes);

    const QString path = file(QStringLiteral("unsupported.jpg"), bytes);
    try {
        (void)imaging::readImageFile(path);
        QFAIL("no error");
    } catch (const Error &error) {
        QCOMPARE(error.kind(), Kind::Unsupported);
        QCOMPARE(error.description(), QStringLiteral("対応していない形式です"));
    }
}

void TestImageReader::damagedFilesAreReportedAsDamaged_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QImage image = fixtures::pattern(64, 48);
    const QByteArray jpeg = fixtures::jpegOf(image);
    const QByteArray progressive = imaging::encodeImage(imaging::Image{image}, imaging::WriteProgressiveJpeg, 90);
    const QByteArray png = fixtures::qtEncoded(image, "png");
    const QByteArray bmp = fixtures::qtEncoded(image, "bmp");
    const QByteArray rleBmp = fixtures::rle8Bmp(40, 30);
    const QByteArray tiff = fixtures::stripTiff(image);
    const QByteArray pcx = fixtures::pcxFile(image, {8, 3, true});

    QTest::newRow("JPEG cut in half") << cut(jpeg, jpeg.size() / 2);
    QTest::newRow("JPEG without its end marker") << cut(jpeg, jpeg.size() - 2);
    QTest::newRow("JPEG with a stray marker in its data") << withStrayMarker(jpeg);
    QTest::newRow("progressive JPEG cut in half") << cut(progressive, progressive.size() / 2);
    QTest::newRow("JPEG header only") << cut(jpeg, 20);
    QTest::newRow("PNG cut in half") << cut(png, png.size() / 2);
    QTest::newRow("PNG without IEND") << cut(png, png.size() - 12);
    QTest::newRow("PNG with a damaged IEND") << cut(png, png.size() - 1);
    QTest::newRow("PNG with a changed byte in IDAT") << flipped(png, png.size() - 40);
    QTest::newRow("PNG signature only") << cut(png, 8);
    QTest::newRow("BMP cut in half") << cut(bmp, bmp.size() / 2);
    QTest::newRow("BMP missing its last byte") << cut(bmp, bmp.size() - 1);
    QTest::newRow("run-length BMP cut before its end") << cut(rleBmp, rleBmp.size() - 10);
    QTest::newRow("BMP file header only") << cut(bmp, 20);
    QByteArray bmpPastItsEnd = bmp; // the pixel data offset points beyond the file
    qToLittleEndian<quint32>(quint32(bmp.size() + 64), bmpPastItsEnd.data() + 10);
    QTest::newRow("BMP whose pixels start past its end") << bmpPastItsEnd;
    QTest::newRow("TIFF strip cut short") << cut(tiff, tiff.size() - 100);
    QTest::newRow("big-endian TIFF strip cut short") << cut(fixtures::stripTiff(image, true), tiff.size() - 100);
    QTest::newRow("TIFF header only") << cut(tiff, 8);
    QTest::newRow("PCX cut short") << cut(pcx, pcx.size() - 100);
}

void TestImageReader::damagedFilesAreReportedAsDamaged()
{
    QFETCH(QByteArray, bytes);

    try {
        (void)imaging::decodeImage(bytes);
        QFAIL("damaged data was read as an image");
    } catch (const Error &error) {
        QCOMPARE(error.kind(), Kind::Damaged);
        QVERIFY2(error.description().startsWith(QStringLiteral("ファイルが壊れています (")), qPrintable(error.description()));
    }
}

void TestImageReader::declaredSizeIsRefusedBeforeDecoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Kind>("kind");

    const QImage image = fixtures::pattern(16, 16);
    const QByteArray jpeg = fixtures::jpegOf(image);
    const QByteArray png = fixtures::qtEncoded(image, "png");
    const QByteArray bmp = fixtures::qtEncoded(image, "bmp");
    const QByteArray pcx = fixtures::pcxFile(image, {8, 3, false});

    // Our limit, or the format's own, refuses the header before anything is
    // allocated (an allocation of 65535 x 65535 fails under the sanitizers).
    QTest::newRow("JPEG 65535 x 65535") << fixtures::withJpegSize(jpeg, 65535, 65535) << Kind::TooLarge;
    QTest::newRow("JPEG 30001 x 1") << fixtures::withJpegSize(jpeg, 30001, 1) << Kind::TooLarge;
    QTest::newRow("PNG 65535 x 65535") << fixtures::withPngSize(png, 65535, 65535) << Kind::TooLarge;
    QTest::newRow("PNG 2^31-1 x 1") << fixtures::withPngSize(png, 0x7FFFFFFF, 1) << Kind::TooLarge;
    QTest::newRow("BMP 65535 x 65535") << fixtures::withBmpSize(bmp, 65535, 65535) << Kind::TooLarge;
    QTest::newRow("BMP 65535 x -65535 (top-down)") << fixtures::withBmpSize(bmp, 65535, -65535) << Kind::TooLarge;
    QTest::newRow("TIFF 65535 x 65535") << fixtures::stripTiffDeclaring(65535, 65535) << Kind::TooLarge;
    QTest::newRow("PCX 65535 x 65535") << fixtures::withPcxWindow(pcx, 0, 0, 65534, 65534) << Kind::TooLarge;
    QTest::newRow("PCX 20000 x 20000 (too many pixels)") << fixtures::withPcxWindow(pcx, 0, 0, 19999, 19999) << Kind::TooLarge;
    // A header without pixels is a damaged file, not a large one.
    QTest::newRow("JPEG 0 wide") << fixtures::withJpegSize(jpeg, 0, 16) << Kind::Damaged;
    QTest::newRow("JPEG 0 high") << fixtures::withJpegSize(jpeg, 16, 0) << Kind::Damaged;
    QTest::newRow("PNG 0 wide") << fixtures::withPngSize(png, 0, 16) << Kind::Damaged;
    QTest::newRow("BMP 0 wide") << fixtures::withBmpSize(bmp, 0, 16) << Kind::Damaged;
    QTest::newRow("BMP 0 high") << fixtures::withBmpSize(bmp, 16, 0) << Kind::Damaged;
    QTest::newRow("PCX 0 wide") << fixtures::withPcxWindow(pcx, 1, 0, 0, 15) << Kind::Damaged;
    QTest::newRow("PCX with xmax far before xmin") << fixtures::withPcxWindow(pcx, 65535, 0, 0, 15) << Kind::Damaged;
    QTest::newRow("TIFF 0 wide") << fixtures::stripTiffDeclaring(0, 16) << Kind::Damaged;
}

void TestImageReader::declaredSizeIsRefusedBeforeDecoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Kind, kind);

    try {
        (void)imaging::decodeImage(bytes);
        QFAIL("a forged size was accepted");
    } catch (const Error &error) {
        QVERIFY2(error.kind() == kind, qPrintable(error.description()));
    }
}

void TestImageReader::largePhotoWithinLimitsOpens_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("jpeg, our own decoder") << QStringLiteral("jpeg");
    // The formats Qt reads: 12000 x 9000 in 32-bit pixels is above Qt's
    // default allocation limit, so these show that ours is the one that holds.
    QTest::newRow("png") << QStringLiteral("png");
    QTest::newRow("bmp") << QStringLiteral("bmp");
}

void TestImageReader::largePhotoWithinLimitsOpens()
{
    QFETCH(QString, format);
    QByteArray bytes;
    if (format == QLatin1String("jpeg")) {
        bytes = fixtures::flatJpeg(12000, 9000);
    } else {
        QImage flat(12000, 9000, QImage::Format_RGB32);
        flat.fill(qRgb(0x60, 0x60, 0x60));
        bytes = fixtures::qtEncoded(flat, format.toLatin1().constData());
    }
    const imaging::Image image = imaging::decodeImage(bytes);
    QCOMPARE(image.pixels.size(), QSize(12000, 9000));
    QCOMPARE(image.pixels.pixel(11999, 8999), qRgb(0x60, 0x60, 0x60));
}

void TestImageReader::transparencyIsCompositedOntoWhite()
{
    QImage translucent(4, 2, QImage::Format_ARGB32);
    translucent.fill(qRgba(255, 0, 0, 0));
    translucent.setPixel(1, 0, qRgba(255, 0, 0, 255));
    translucent.setPixel(2, 0, qRgba(0, 0, 255, 102)); // 40 % blue over white

    for (const char *format : {"png", "tiff"}) {
        const imaging::Image image = imaging::decodeImage(fixtures::qtEncoded(translucent, format));
        QCOMPARE(image.pixels.format(), QImage::Format_RGB32);
        QCOMPARE(image.pixels.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(image.pixels.pixel(1, 0), qRgb(255, 0, 0));
        QCOMPARE(image.pixels.pixel(2, 0), qRgb(153, 153, 255));
    }
}

void TestImageReader::onlyRegularFilesAreOpened_data()
{
    QTest::addColumn<QString>("path");

    const QString fifo = m_dir.filePath(QStringLiteral("fifo.jpg"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
    const QString folder = m_dir.filePath(QStringLiteral("folder.jpg"));
    QVERIFY(QDir().mkpath(folder));
    const QString device = m_dir.filePath(QStringLiteral("zero.jpg"));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), device));

    QTest::newRow("FIFO named .jpg") << fifo;
    QTest::newRow("folder named .jpg") << folder;
    QTest::newRow("/dev/zero linked as .jpg") << device;
    QTest::newRow("/dev/null") << QStringLiteral("/dev/null");
}

void TestImageReader::onlyRegularFilesAreOpened()
{
    QFETCH(QString, path);

    QElapsedTimer clock;
    clock.start();
    try {
        (void)imaging::readImageFile(path);
        QFAIL("not a file, yet read");
    } catch (const Error &error) {
        QCOMPARE(error.kind(), Kind::NotRegularFile);
        QCOMPARE(error.description(), QStringLiteral("通常のファイルではありません"));
    }
    QVERIFY(clock.elapsed() < 1000);
}

void TestImageReader::unreadableFileNamesTheReason()
{
    const QString locked = file(QStringLiteral("locked.png"), fixtures::qtEncoded(fixtures::pattern(4, 4), "png"));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
    QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                    | QFileDevice::ReadOther | QFileDevice::ExeOther));
    {
        // Root reads any file: check as an unprivileged user.
        const fixtures::AsUnprivilegedUser nobody;
        if (fixtures::runningAsRoot() && !nobody.active())
            QSKIP("cannot drop root's file permissions here");
        try {
            (void)imaging::readImageFile(locked);
            QFAIL("read a file without permission");
        } catch (const Error &error) {
            QCOMPARE(error.kind(), Kind::Unreadable);
            QCOMPARE(error.description(), QStringLiteral("ファイルを読み取れません (読み取る権限がありません)"));
        }
    }

    // A regular file whose reads fail: the first page of memory is unmapped.
    try {
        (void)imaging::readImageFile(QStringLiteral("/proc/self/mem"));
        QFAIL("read an unreadable file");
    } catch (const Error &error) {
        QCOMPARE(error.kind(), Kind::Unreadable);
        QCOMPARE(error.description(), QStringLiteral("ファイルを読み取れません (Input/output error)"));
    }
}

void TestImageReader::pathsAreTakenAsGiven_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<Kind>("kind");

    const QByteArray png = fixtures::qtEncoded(fixtures::pattern(8, 6), "png");
    const QString japanese = file(QStringLiteral("写真 フォルダ/夏 1.jpg"), png);
    const QString link = m_dir.filePath(QStringLiteral("link to photo.jpg"));
    QVERIFY(QFile::link(japanese, link));
    const QString dangling = m_dir.filePath(QStringLiteral("dangling.jpg"));
    QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("gone.jpg")), dangling));

    QTest::newRow("spaces and Japanese characters") << japanese << true << Kind::NotFound;
    QTest::newRow("symbolic link to an image") << link << true << Kind::NotFound;
    QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("missing.jpg")) << false << Kind::NotFound;
    QTest::newRow("missing folder") << m_dir.filePath(QStringLiteral("nowhere/a.jpg")) << false << Kind::NotFound;
    QTest::newRow("file used as a folder") << japanese + QStringLiteral("/a.jpg") << false << Kind::NotFound;
    QTest::newRow("dangling symbolic link") << dangling << false << Kind::NotFound;
    QTest::newRow("empty path") << QString() << false << Kind::NotFound;
    QTest::newRow("NUL inside the name") << japanese + QChar(u'\0') + QStringLiteral("x") << false
                                         << Kind::InvalidArgument;
}

void TestImageReader::pathsAreTakenAsGiven()
{
    QFETCH(QString, path);
    QFETCH(bool, readable);
    QFETCH(Kind, kind);

    if (readable) {
        QCOMPARE(imaging::readImageFile(path).pixels, fixtures::pattern(8, 6));
        return;
    }
    try {
        (void)imaging::readImageFile(path);
        QFAIL("read a file that is not there");
    } catch (const Error &error) {
        QCOMPARE(error.kind(), kind);
    }
}

void TestImageReader::progressRisesToHundred_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("atLeastReports");

    const QImage image = fixtures::pattern(300, 200);
    QTest::newRow("baseline JPEG, row by row") << fixtures::jpegOf(image) << 10;
    QTest::newRow("progressive JPEG, scan by scan")
        << imaging::encodeImage(imaging::Image{image}, imaging::WriteProgressiveJpeg, 80) << 10;
    QTest::newRow("PNG") << fixtures::qtEncoded(image, "png") << 2;
    QTest::newRow("PCX") << fixtures::pcxFile(image, {8, 3, true}) << 2;
}

void TestImageReader::progressRisesToHundred()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, atLeastReports);

    QList<int> reports;
    (void)imaging::decodeImage(bytes, [&reports](int percent) { reports.append(percent); });
    QVERIFY2(reports.size() >= atLeastReports, qPrintable(QString::number(reports.size())));
    QCOMPARE(reports.first(), 0);
    QCOMPARE(reports.last(), 100);
    for (qsizetype i = 1; i < reports.size(); ++i)
        QVERIFY(reports[i] > reports[i - 1]);
}

QTEST_GUILESS_MAIN(TestImageReader)
#include "tst_imagereader.moc"
