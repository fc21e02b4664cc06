// The suite's file control: what a read leaves in the control, that a
// failed read leaves no handle, that each write code writes its format, and
// the open-file dialog.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "CodecFixtures.h"
#include "FileSystemFixtures.h"
#include "base/Error.h"
#include "imaging/core/FileDialogSeam.h"
#include "imaging/core/Formats.h"
#include "imaging/core/Ik5File.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/ImageWriter.h"
#include "imaging/core/ImageStore.h"

using imaging::Error;
using imaging::FileFormat;
using imaging::ImageStore;

Q_DECLARE_METATYPE(imaging::FileFormat)

class TestIk5File : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void readFillsHandleAndFileInformation();
    void failedReadLeavesNoHandle();
    void eachWriteCodeWritesItsFormat_data();
    void eachWriteCodeWritesItsFormat();
    void writeNeedsALiveImage_data();
    void writeNeedsALiveImage();
    void openDialogSetsThePathOnlyWhenChosen();

private:
    QString fixtureFile(const QString &name, const QByteArray &bytes)
    {
        return fixtures::fixtureFile(m_dir.path(), name, bytes);
    }

    QTemporaryDir m_dir;
};

void TestIk5File::readFillsHandleAndFileInformation()
{
    const QByteArray png = fixtures::qtEncoded(fixtures::pattern(10, 7), "png");
    imaging::Ik5File file;
    QSignalSpy progress(&file, &imaging::Ik5File::progress);
    file.setPath(fixtureFile(QStringLiteral("read.png"), png));
    file.setOperation(imaging::ReadFile);
    file.perform();
    file.finishRead();

    QVERIFY(file.handle() != 0);
    QCOMPARE(ImageStore::instance().get(file.handle()).pixels, fixtures::pattern(10, 7));
    QCOMPARE(file.imageWidth(), 10);
    QCOMPARE(file.imageHeight(), 7);
    QCOMPARE(file.fileSize(), png.size());
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().at(0).toInt(), 100);
    ImageStore::instance().release(file.handle());
}

void TestIk5File::failedReadLeavesNoHandle()
{
    imaging::Ik5File file;
    file.setPath(fixtureFile(QStringLiteral("good.bmp"), fixtures::qtEncoded(fixtures::pattern(4, 4), "bmp")));
    file.perform();
    const imaging::Handle previous = file.handle();

    const QByteArray png = fixtures::qtEncoded(fixtures::pattern(40, 40), "png");
    file.setPath(fixtureFile(QStringLiteral("cut.png"), png.left(png.size() / 2)));
    QVERIFY_THROWS_EXCEPTION(Error, file.perform());
    QCOMPARE(file.handle(), 0);
    QCOMPARE(file.imageWidth(), 0);
    QCOMPARE(file.imageHeight(), 0);
    QCOMPARE(file.fileSize(), 0);
    // The earlier image belongs to whoever holds its handle: still there.
    QVERIFY(ImageStore::instance().contains(previous));
    ImageStore::instance().release(previous);
}

void TestIk5File::eachWriteCodeWritesItsFormat_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<FileFormat>("format");

    QTest::newRow("8: BMP") << 8 << FileFormat::Bmp;
    QTest::newRow("10: JPEG") << 10 << FileFormat::Jpeg;
    QTest::newRow("11: progressive JPEG") << 11 << FileFormat::Jpeg;
    QTest::newRow("13: TIFF") << 13 << FileFormat::Tiff;
    QTest::newRow("20: PNG") << 20 << FileFormat::Png;
}

void TestIk5File::eachWriteCodeWritesItsFormat()
{
    QFETCH(int, operation);
    QFETCH(FileFormat, format);

    const imaging::Handle handle = ImageStore::instance().add(fixtures::patternImage(12, 9, 200, 200));
    imaging::Ik5File file;
    QSignalSpy progress(&file, &imaging::Ik5File::progress);
    const QString path = m_dir.filePath(QStringLiteral("written %1.img").arg(operation));
    file.setHandle(handle);
    file.setPath(path);
    file.setQuality(90);
    file.setOperation(operation);
    file.perform();

    const QByteArray written = fixtures::readBytes(path);
    QCOMPARE(imaging::sniffFormat(written), format);
    const imaging::Image read = imaging::decodeImage(written);
    QCOMPARE(read.pixels.size(), QSize(12, 9));
    QCOMPARE(read.dpiX, 200.0);
    QCOMPARE(progress.last().at(0).toInt(), 100);
    QCOMPARE(file.handle(), handle);
    ImageStore::instance().release(handle);
}

void TestIk5File::writeNeedsALiveImage_data()
{
    QTest::addColumn<bool>("released");

    QTest::newRow("handle 0") << false;
    QTest::newRow("released handle") << true;
}

void TestIk5File::writeNeedsALiveImage()
{
    QFETCH(bool, released);

    imaging::Handle handle = 0;
    if (released) {
        handle = ImageStore::instance().add(fixtures::patternImage(4, 4));
        ImageStore::instance().release(handle);
    }
    imaging::Ik5File file;
    const QString path = m_dir.filePath(QStringLiteral("never.png"));
    file.setHandle(handle);
    file.setPath(path);
    file.setOperation(imaging::WritePng);
    try {
        file.perform();
        QFAIL("wrote a missing image");
    } catch (const Error &error) {
        QCOMPARE(error.kind(), Error::Kind::InvalidHandle);
    }
    QVERIFY(!QFile::exists(path));
}

void TestIk5File::openDialogSetsThePathOnlyWhenChosen()
{
    QString answer = QStringLiteral("/photos/夏 1.jpg");
    QStringList asked;
    const imaging::OpenFileDialog previous = imaging::setOpenFileDialog([&](const QString &typeList) {
        asked.append(typeList);
        return answer;
    });

    imaging::Ik5File file;
    QVERIFY(file.openDialog());
    QCOMPARE(file.path(), QStringLiteral("/photos/夏 1.jpg"));

    answer.clear(); // cancelled
    QVERIFY(!file.openDialog());
    QCOMPARE(file.path(), QStringLiteral("/photos/夏 1.jpg"));
    QCOMPARE(asked, QStringList(2, QStringLiteral("BMP;JPG;TIF;PCX;FPX;PNG")));
    (void)imaging::setOpenFileDialog(previous);
}

QTEST_GUILESS_MAIN(TestIk5File)
#include "tst_ik5file.moc"
