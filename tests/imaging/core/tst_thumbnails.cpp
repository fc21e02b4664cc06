#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "CodecFixtures.h"
#include "imaging/core/Thumbnails.h"

using imaging::Thumbnail;
using imaging::ThumbnailBuilder;

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A JPEG whose left half is red and right half blue, stored so that the
// given EXIF orientation shows it that way up.
QByteArray halvesJpeg(int orientation)
{
    QImage upright(64, 32, QImage::Format_RGB32);
    upright.fill(Qt::red);
    for (int y = 0; y < 32; ++y)
        for (int x = 32; x < 64; ++x)
            upright.setPixel(x, y, qRgb(0, 0, 255));
    // The inverse of each turn the orientation asks the reader to make.
    QTransform stored;
    switch (orientation) {
    case 2: return fixtures::withSegment(fixtures::jpegOf(upright.mirrored(true, false)), 0xE1, fixtures::exifPayload(2, false));
    case 3: stored.rotate(180); break;
    case 4: return fixtures::withSegment(fixtures::jpegOf(upright.mirrored(false, true)), 0xE1, fixtures::exifPayload(4, false));
    case 5: return fixtures::withSegment(fixtures::jpegOf(upright.transformed(QTransform().rotate(90)).mirrored(true, false)), 0xE1, fixtures::exifPayload(5, false));
    case 6: stored.rotate(-90); break;
    case 7: return fixtures::withSegment(fixtures::jpegOf(upright.transformed(QTransform().rotate(-90)).mirrored(true, false)), 0xE1, fixtures::exifPayload(7, false));
    case 8: stored.rotate(90); break;
    default: break;
    }
    return fixtures::withSegment(fixtures::jpegOf(upright.transformed(stored)), 0xE1,
                                 fixtures::exifPayload(orientation, false));
}

} // namespace

class TestThumbnails : public QObject
{
    Q_OBJECT

private slots:
    void init() { imaging::ThumbnailCache::instance().clear(); }

    // Whatever the camera stored, the thumbnail stands upright: red left.
    void thumbnailsAreUpright_data()
    {
        QTest::addColumn<int>("orientation");
        for (int o = 1; o <= 8; ++o)
            QTest::newRow(qPrintable(QStringLiteral("orientation %1").arg(o))) << o;
    }
    void thumbnailsAreUpright()
    {
        QFETCH(int, orientation);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.jpg"));
        write(path, halvesJpeg(orientation));
        const Thumbnail made = imaging::makeThumbnail(path, QSize(32, 32));
        QVERIFY2(made.error.isEmpty(), qPrintable(made.error));
        QCOMPARE(made.image.size(), QSize(32, 16));
        QVERIFY(qRed(made.image.pixel(4, 8)) > 200 && qBlue(made.image.pixel(4, 8)) < 60);
        QVERIFY(qBlue(made.image.pixel(28, 8)) > 200 && qRed(made.image.pixel(28, 8)) < 60);
    }

    // Items come out in the list's order, a damaged file as a reason.
    void buildsInOrderWithFailures()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 5; ++i) {
            paths << dir.filePath(QStringLiteral("%1.jpg").arg(i));
            write(paths.last(), i == 2 ? QByteArray("not an image at all") : fixtures::jpegOf(fixtures::smooth(40 + i, 30)));
        }
        ThumbnailBuilder builder(paths, QSize(20, 20), 2);
        QCOMPARE(builder.count(), 5);
        for (int i = 0; i < 5; ++i) {
            const std::optional<Thumbnail> made = builder.take(i);
            QVERIFY(made);
            QVERIFY2(made->image.isNull() == (i == 2), qPrintable(made->error));
            QCOMPARE(made->error.isEmpty(), i != 2);
            if (i != 2)
                QCOMPARE(made->image.width(), 20);
        }
        QVERIFY(!builder.take(5));
    }

    void cancelEndsTheBuildAndANewOneStartsClean()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 40; ++i) {
            paths << dir.filePath(QStringLiteral("%1.jpg").arg(i));
            write(paths.last(), fixtures::jpegOf(fixtures::smooth(400, 300)));
        }
        {
            ThumbnailBuilder builder(paths, QSize(30, 30), 2);
            QVERIFY(builder.take(0));
            builder.cancel();
            QVERIFY(builder.isCancelled());
            QVERIFY(!builder.take(39));
        }
        ThumbnailBuilder again(paths, QSize(30, 30), 2);
        for (int i = 0; i < paths.size(); ++i)
            QVERIFY(again.take(i));
    }

    // A caller that keeps its window alive gets called while it waits.
    void waitingCallsBackAndCanCancel()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.jpg"));
        write(path, fixtures::jpegOf(fixtures::smooth(3000, 2000), 90));
        ThumbnailBuilder builder({path}, QSize(64, 64), 1);
        int calls = 0;
        const std::optional<Thumbnail> made = builder.take(0, [&] {
            if (++calls == 1)
                builder.cancel();
        });
        QVERIFY(calls >= 1 || made);
        if (calls >= 1)
            QVERIFY(!made);
    }

    void theCacheKnowsAChangedFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.png"));
        write(path, fixtures::qtEncoded(fixtures::pattern(40, 20), "PNG"));
        const Thumbnail first = imaging::makeThumbnail(path, QSize(20, 20));
        QCOMPARE(first.image.size(), QSize(20, 10));
        QVERIFY(imaging::ThumbnailCache::instance().find(path, QSize(20, 20)));
        QVERIFY(!imaging::ThumbnailCache::instance().find(path, QSize(30, 30)));
        write(path, fixtures::qtEncoded(fixtures::pattern(20, 40), "PNG"));
        QFile(path).setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
        QCOMPARE(imaging::makeThumbnail(path, QSize(20, 20)).image.size(), QSize(10, 20));
    }

    void theCacheKeepsToItsBudget()
    {
        auto &cache = imaging::ThumbnailCache::instance();
        QImage picture(100, 100, QImage::Format_RGB32);
        cache.setBudget(3 * picture.sizeInBytes());
        for (int i = 0; i < 10; ++i)
            cache.insert(QStringLiteral("/nonexistent/%1.jpg").arg(i), QSize(100, 100), picture);
        QCOMPARE(cache.bytesHeld(), 3 * picture.sizeInBytes());
        QVERIFY(cache.find(QStringLiteral("/nonexistent/9.jpg"), QSize(100, 100)));
        QVERIFY(!cache.find(QStringLiteral("/nonexistent/0.jpg"), QSize(100, 100)));
        cache.setBudget(128ll * 1024 * 1024);
    }
};

QTEST_GUILESS_MAIN(TestThumbnails)
#include "tst_thumbnails.moc"
