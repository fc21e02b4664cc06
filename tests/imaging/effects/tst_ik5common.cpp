#include <QtTest>

#include "EffectTestImages.h"
#include "base/Error.h"
#include "imaging/core/Ik5Common.h"

using namespace imaging;
using namespace testimages;

class TestIk5Common : public QObject
{
    Q_OBJECT

private slots:
    // What an uncompressed 24-bit BMP of the image holds: rows of 3 bytes a
    // pixel, each padded to a multiple of 4.
    void dataSize_data()
    {
        QTest::addColumn<qint64>("width");
        QTest::addColumn<qint64>("height");
        QTest::addColumn<qint64>("bytes");
        QTest::newRow("1 x 1: 3 bytes padded to 4") << qint64(1) << qint64(1) << qint64(4);
        QTest::newRow("2 x 1: 6 padded to 8") << qint64(2) << qint64(1) << qint64(8);
        QTest::newRow("3 x 1: 9 padded to 12") << qint64(3) << qint64(1) << qint64(12);
        QTest::newRow("4 x 1: 12 needs no padding") << qint64(4) << qint64(1) << qint64(12);
        QTest::newRow("5 x 3: rows of 16") << qint64(5) << qint64(3) << qint64(48);
        QTest::newRow("a 1600 x 1200 photo") << qint64(1600) << qint64(1200) << qint64(5'760'000);
        QTest::newRow("beyond 32 bits") << qint64(30000) << qint64(30000) << qint64(2'700'000'000);
    }
    void dataSize()
    {
        QFETCH(qint64, width);
        QFETCH(qint64, height);
        QFETCH(qint64, bytes);
        QCOMPARE(paddedRgbDataSize(width, height), bytes);
    }

    void attributesAreReadOnRequest()
    {
        Ik5Common common;
        QCOMPARE(common.width(), 0);
        QCOMPARE(common.dataSize(), qint64(0));
        const Handle image = add(numbered(5, 3));
        common.setHandle(image);
        QCOMPARE(common.width(), 0); // not read yet
        common.readAttributes();
        QCOMPARE(common.width(), 5);
        QCOMPARE(common.height(), 3);
        QCOMPARE(common.dataSize(), qint64(48));
        ImageStore::instance().release(image);
    }

    void readingAStaleHandleIsAnError()
    {
        const Handle released = add(numbered(2, 2));
        ImageStore::instance().release(released);
        for (const Handle handle : {Handle(0), released}) {
            Ik5Common common;
            common.setHandle(handle);
            QCOMPARE(errorKindOf([&] { common.readAttributes(); }), Error::Kind::InvalidHandle);
        }
    }

    void releaseOfNothingOrTwiceDoesNothing()
    {
        auto &store = ImageStore::instance();
        const Handle image = add(numbered(2, 2));
        const auto count = store.count();
        Ik5Common common;
        common.release(); // handle 0
        QCOMPARE(store.count(), count);
        common.setHandle(image);
        common.release();
        QVERIFY(!store.contains(image));
        QCOMPARE(common.handle(), image);
        common.release();
        QCOMPARE(store.count(), count - 1);
    }

    // The batch run reads an image, applies the resolution and goes on with
    // whatever handle() names: the new image, with the same pixels; the old
    // one is released so nothing leaks.
    void applyResolutionReplacesTheImage()
    {
        auto &store = ImageStore::instance();
        const QImage pixels = numbered(6, 4);
        const Handle before = add(pixels, 96, 96);
        const auto count = store.count();
        Ik5Common common;
        common.setHandle(before);
        common.setResolutionX(300);
        common.setResolutionY(150);
        common.applyResolution();

        const Handle after = common.handle();
        QVERIFY(after != before);
        QVERIFY(!store.contains(before));
        QCOMPARE(store.count(), count);
        const Image &image = store.get(after);
        QCOMPARE(image.dpiX, 300.0);
        QCOMPARE(image.dpiY, 150.0);
        QCOMPARE(image.pixels, pixels);
        store.release(after);
    }

    void applyResolutionRefusesAndChangesNothing_data()
    {
        QTest::addColumn<bool>("staleHandle");
        QTest::addColumn<qint32>("dpi");
        QTest::addColumn<Error::Kind>("kind");
        QTest::newRow("negative resolution") << false << -1 << Error::Kind::InvalidArgument;
        QTest::newRow("beyond 16 bits") << false << 65536 << Error::Kind::InvalidArgument;
        QTest::newRow("released image") << true << 300 << Error::Kind::InvalidHandle;
    }
    void applyResolutionRefusesAndChangesNothing()
    {
        QFETCH(bool, staleHandle);
        QFETCH(qint32, dpi);
        QFETCH(Error::Kind, kind);
        auto &store = ImageStore::instance();
        const Handle image = add(numbered(3, 3), 72, 72);
        if (staleHandle)
            store.release(image);
        const auto count = store.count();
        Ik5Common common;
        common.setHandle(image);
        common.setResolutionX(dpi);
        common.setResolutionY(dpi);
        QCOMPARE(errorKindOf([&] { common.applyResolution(); }), kind);
        QCOMPARE(common.handle(), image);
        QCOMPARE(store.count(), count);
        if (!staleHandle) {
            QCOMPARE(store.get(image).dpiX, 72.0);
            store.release(image);
        }
    }

    void resolutionZeroIsAccepted()
    {
        // An empty resolution box reads as 0: "no resolution known".
        Ik5Common common;
        common.setHandle(add(numbered(2, 2)));
        common.applyResolution();
        QCOMPARE(ImageStore::instance().get(common.handle()).dpiX, 0.0);
        common.release();
    }
};

QTEST_GUILESS_MAIN(TestIk5Common)
#include "tst_ik5common.moc"
