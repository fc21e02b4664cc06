#include <QtTest>

#include "base/Error.h"
#include "imaging/core/ImageStore.h"

using namespace imaging;

class TestImageStore : public QObject
{
    Q_OBJECT

private:
    static Image smallImage()
    {
        Image image;
        image.pixels = QImage(2, 3, QImage::Format_RGB32);
        image.pixels.fill(Qt::red);
        return image;
    }

private slots:
    void handlesArePositiveAndNeverReused()
    {
        auto &store = ImageStore::instance();
        const Handle a = store.add(smallImage());
        store.release(a);
        const Handle b = store.add(smallImage());
        QVERIFY(a > 0);
        QVERIFY(b > a);
        QVERIFY(!store.contains(a));
        QVERIFY(store.contains(b));
        store.release(b);
    }

    void releasingNothingOrTwiceDoesNothing()
    {
        auto &store = ImageStore::instance();
        const Handle a = store.add(smallImage());
        const auto before = store.count();
        store.release(0);
        store.release(a + 1000);
        QCOMPARE(store.count(), before);
        store.release(a);
        store.release(a);
        QCOMPARE(store.count(), before - 1);
    }

    void getOfAStaleHandleIsAnError()
    {
        auto &store = ImageStore::instance();
        const Handle a = store.add(smallImage());
        store.release(a);
        for (const Handle h : {Handle(0), a}) {
            try {
                (void)store.get(h);
                QFAIL("expected an error");
            } catch (const Error &e) {
                QCOMPARE(e.kind(), Error::Kind::InvalidHandle);
            }
        }
    }

    void sizeLimits_data()
    {
        QTest::addColumn<qint64>("width");
        QTest::addColumn<qint64>("height");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("a 12000 x 9000 photo") << qint64(12000) << qint64(9000) << true;
        QTest::newRow("one pixel") << qint64(1) << qint64(1) << true;
        QTest::newRow("zero width") << qint64(0) << qint64(10) << false;
        QTest::newRow("negative height") << qint64(10) << qint64(-1) << false;
        QTest::newRow("forged 65535 x 65535") << qint64(65535) << qint64(65535) << false;
        QTest::newRow("one long side") << qint64(kMaxSide + 1) << qint64(1) << false;
        QTest::newRow("too many pixels") << qint64(20000) << qint64(20000) << false;
    }
    void sizeLimits()
    {
        QFETCH(qint64, width);
        QFETCH(qint64, height);
        QFETCH(bool, allowed);
        QCOMPARE(imageSizeAllowed(width, height), allowed);
    }
};

QTEST_GUILESS_MAIN(TestImageStore)
#include "tst_imagestore.moc"
