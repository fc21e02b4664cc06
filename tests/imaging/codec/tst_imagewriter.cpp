// Writing images: every format reads back with its pixels, size and
// resolution, and a write that fails for any reason names it, leaves the old
// file byte for byte as it was and leaves no temporary file behind.

#include <optional>

#include <QtEndian>
#include <QTemporaryDir>
#include <QtTest>

#include "CodecFixtures.h"
#include "FileSystemFixtures.h"
#include "base/Error.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/ImageWriter.h"

using imaging::Error;

namespace {

enum class Situation {
    ReadOnlyFileSystem,
    FolderNotWritable, // the file itself is writable
    FullFileSystem,
    MissingFolder,
    NulInName,
    NameTooLong,
    PathIsAFolder,
};

} // namespace

Q_DECLARE_METATYPE(Situation)

class TestImageWriter : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsPixelsSizeAndResolution_data();
    void roundTripKeepsPixelsSizeAndResolution();
    void bmpIsUncompressed24BitBottomUp();
    void jpegOperationsChooseBaselineOrProgressive_data();
    void jpegOperationsChooseBaselineOrProgressive();
    void jpegQualityIsUsedAndChecked();
    void unknownOperationIsRefused_data();
    void unknownOperationIsRefused();
    void fileIsReplacedWhole();
    void failedWriteLeavesTheOldFile_data();
    void failedWriteLeavesTheOldFile();
};

void TestImageWriter::roundTripKeepsPixelsSizeAndResolution_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<double>("dpiX");
    QTest::addColumn<double>("dpiY");

    const struct
    {
        const char *name;
        int operation;
    } formats[] = {{"BMP", imaging::WriteBmp},
                   {"PNG", imaging::WritePng},
                   {"TIFF", imaging::WriteTiff},
                   {"JPEG", imaging::WriteJpeg},
                   {"progressive JPEG", imaging::WriteProgressiveJpeg}};
    const struct
    {
        double x;
        double y;
    } resolutions[] = {{96, 96}, {300, 150}, {72, 600}};
    for (const auto &format : formats)
        for (const auto &dpi : resolutions)
            QTest::newRow(qPrintable(QStringLiteral("%1 at %2 x %3 dpi").arg(format.name).arg(dpi.x).arg(dpi.y)))
                << format.operation << dpi.x << dpi.y;
}

void TestImageWriter::roundTripKeepsPixelsSizeAndResolution()
{
    QFETCH(int, operation);
    QFETCH(double, dpiX);
    QFETCH(double, dpiY);

    // 37 x 23: rows that need padding in every format.
    const bool lossy = operation == imaging::WriteJpeg || operation == imaging::WriteProgressiveJpeg;
    const QImage pixels = lossy ? fixtures::smooth(37, 23) : fixtures::pattern(37, 23);
    const imaging::Image image{pixels, dpiX, dpiY};

    const imaging::Image read = imaging::decodeImage(imaging::encodeImage(image, operation, 90));
    QCOMPARE(read.pixels.size(), pixels.size());
    if (lossy)
        QVERIFY(fixtures::psnr(read.pixels, pixels) > 35.0);
    else
        QCOMPARE(read.pixels, pixels);
    QCOMPARE(read.dpiX, dpiX);
    QCOMPARE(read.dpiY, dpiY);
}

void TestImageWriter::bmpIsUncompressed24BitBottomUp()
{
    const QImage pixels = fixtures::pattern(5, 3);
    const QByteArray bmp = imaging::encodeImage(imaging::Image{pixels}, imaging::WriteBmp, 0);
    const char *header = bmp.constData();
    QCOMPARE(qFromLittleEndian<quint16>(header + 28), quint16(24));  // bits per pixel
    QCOMPARE(qFromLittleEndian<quint32>(header + 30), quint32(0));   // no compression
    QCOMPARE(qFromLittleEndian<qint32>(header + 22), qint32(3));     // positive: bottom-up
    const quint32 pixelsAt = qFromLittleEndian<quint32>(header + 10);
    QCOMPARE(bmp.size(), qsizetype(pixelsAt + 16 * 3)); // 15 bytes a row, padded to 16
    // The first row in the file is the bottom one, blue first.
    const QRgb bottomLeft = pixels.pixel(0, 2);
    QCOMPARE(quint8(bmp[pixelsAt]), quint8(qBlue(bottomLeft)));
    QCOMPARE(quint8(bmp[pixelsAt + 2]), quint8(qRed(bottomLeft)));
}

void TestImageWriter::jpegOperationsChooseBaselineOrProgressive_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QByteArray>("frameMarker");
    QTest::addColumn<QByteArray>("otherMarker");

    QTest::newRow("10: baseline") << int(imaging::WriteJpeg) << QByteArray("\xFF\xC0") << QByteArray("\xFF\xC2");
    QTest::newRow("11: progressive") << int(imaging::WriteProgressiveJpeg) << QByteArray("\xFF\xC2")
                                     << QByteArray("\xFF\xC0");
}

void TestImageWriter::jpegOperationsChooseBaselineOrProgressive()
{
    QFETCH(int, operation);
    QFETCH(QByteArray, frameMarker);
    QFETCH(QByteArray, otherMarker);

    const QByteArray jpeg = imaging::encodeImage(imaging::Image{fixtures::smooth(64, 64)}, operation, 75);
    QVERIFY(jpeg.contains(frameMarker));
    QVERIFY(!jpeg.contains(otherMarker));
}

void TestImageWriter::jpegQualityIsUsedAndChecked()
{
    const imaging::Image image{fixtures::pattern(64, 64)};
    const auto sizeAt = [&image](int quality) { return imaging::encodeImage(image, imaging::WriteJpeg, quality).size(); };
    QVERIFY(sizeAt(1) < sizeAt(50));
    QVERIFY(sizeAt(50) < sizeAt(100));

    for (int quality : {0, 101, -1}) {
        for (int operation : {imaging::WriteJpeg, imaging::WriteProgressiveJpeg}) {
            try {
                (void)imaging::encodeImage(image, operation, quality);
                QFAIL(qPrintable(QStringLiteral("quality %1 accepted").arg(quality)));
            } catch (const Error &error) {
                QCOMPARE(error.kind(), Error::Kind::InvalidArgument);
            }
        }
    }
    // Formats without a quality ignore it.
    QVERIFY(!imaging::encodeImage(image, imaging::WritePng, 0).isEmpty());
}

void TestImageWriter::unknownOperationIsRefused_data()
{
    QTest::addColumn<int>("operation");

    QTest::newRow("0 is a read") << 0;
    QTest::newRow("9") << 9;
    QTest::newRow("12") << 12;
    QTest::newRow("-1") << -1;
}

void TestImageWriter::unknownOperationIsRefused()
{
    QFETCH(int, operation);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.img"));
    try {
        imaging::writeImageFile(path, fixtures::patternImage(4, 4), operation, 75);
        QFAIL("written");
    } catch (const Error &error) {
        QCOMPARE(error.kind(), Error::Kind::InvalidArgument);
    }
    QVERIFY(fixtures::folderListing(dir.path()).isEmpty());
}

void TestImageWriter::fileIsReplacedWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("写真 1.png"));
    QVERIFY(fixtures::writeBytes(path, QByteArray(100000, 'x')));

    QList<int> progress;
    imaging::writeImageFile(path, fixtures::patternImage(8, 8), imaging::WritePng, 75,
                            [&progress](int percent) { progress.append(percent); });
    QCOMPARE(imaging::readImageFile(path).pixels, fixtures::pattern(8, 8));
    QCOMPARE(fixtures::folderListing(dir.path()), QStringList{QStringLiteral("写真 1.png")});
    QCOMPARE(progress.last(), 100);
}

void TestImageWriter::failedWriteLeavesTheOldFile_data()
{
    QTest::addColumn<Situation>("situation");
    QTest::addColumn<QString>("reason");

    QTest::newRow("read-only file system") << Situation::ReadOnlyFileSystem << "not writable";
    QTest::newRow("folder not writable, file writable") << Situation::FolderNotWritable << "permission denied";
    QTest::newRow("full file system") << Situation::FullFileSystem << "no space left on device";
    QTest::newRow("missing folder") << Situation::MissingFolder << "no such file or directory";
    QTest::newRow("NUL inside the name") << Situation::NulInName << "ファイル名に使えない文字があります";
    QTest::newRow("name too long") << Situation::NameTooLong << "file name too long";
    QTest::newRow("path is a folder") << Situation::PathIsAFolder << "directory";
}

void TestImageWriter::failedWriteLeavesTheOldFile()
{
    QFETCH(Situation, situation);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("target"));
    QVERIFY(QDir().mkpath(folder));
    const QString oldPath = folder + QStringLiteral("/photo.bmp");
    const QByteArray oldBytes = imaging::encodeImage(fixtures::patternImage(6, 6), imaging::WriteBmp, 0);
    QString path = oldPath;
    // A BMP larger than the small file system below.
    imaging::Image image = fixtures::patternImage(300, 300);

    std::optional<fixtures::TmpfsMount> mount;
    std::optional<fixtures::AsUnprivilegedUser> user;
    if (situation == Situation::ReadOnlyFileSystem || situation == Situation::FullFileSystem) {
        if (!fixtures::runningAsRoot())
            QSKIP("mounting a small file system needs root");
        mount.emplace(folder, QStringLiteral("size=64k"));
        if (!mount->mounted())
            QSKIP("cannot mount a tmpfs here");
    }
    QVERIFY(fixtures::writeBytes(oldPath, oldBytes));

    switch (situation) {
    case Situation::ReadOnlyFileSystem:
        if (!mount->remountReadOnly())
            QSKIP("cannot remount read-only here");
        break;
    case Situation::FolderNotWritable:
        QVERIFY(QFile::setPermissions(oldPath, QFileDevice::Permissions(0x6666))); // rw for everyone
        QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x5555)));  // r-x for everyone
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755)));
        user.emplace();
        if (fixtures::runningAsRoot() && !user->active())
            QSKIP("cannot drop root's file permissions here");
        break;
    case Situation::FullFileSystem:
        break;
    case Situation::MissingFolder:
        path = folder + QStringLiteral("/missing/photo.bmp");
        break;
    case Situation::NulInName:
        // Cut at the NUL the name would be "photo.bmp": the old file.
        path = oldPath + QChar(u'\0') + QStringLiteral(".new");
        break;
    case Situation::NameTooLong:
        path = folder + u'/' + QString(300, u'a') + QStringLiteral(".bmp");
        break;
    case Situation::PathIsAFolder:
        path = folder;
        break;
    }

    const QStringList listing = fixtures::folderListing(folder);
    try {
        imaging::writeImageFile(path, image, imaging::WriteBmp, 0);
        QFAIL("the write did not fail");
    } catch (const Error &error) {
        QCOMPARE(error.kind(), Error::Kind::WriteFailed);
        QVERIFY2(error.description().startsWith(QStringLiteral("ファイルに書き込めません (")), qPrintable(error.description()));
        QVERIFY2(error.description().contains(reason, Qt::CaseInsensitive), qPrintable(error.description()));
    }
    user.reset();
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7755)); // so that the folder can be removed
    QCOMPARE(fixtures::readBytes(oldPath), oldBytes);
    QCOMPARE(fixtures::folderListing(folder), listing);
}

QTEST_GUILESS_MAIN(TestImageWriter)
#include "tst_imagewriter.moc"
