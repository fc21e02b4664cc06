#include <cmath>
#include <limits>

#include <QtTest>

#include "EffectTestImages.h"
#include "imaging/core/Adjust.h"
#include "base/Error.h"

using namespace imaging;
using namespace testimages;

namespace {

// Pixels that reach both ends of every channel and the middle.
QImage probe()
{
    return row({qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(128, 127, 1), qRgb(10, 200, 250),
                qRgb(255, 0, 128)});
}

} // namespace

class TestAdjust : public QObject
{
    Q_OBJECT

private slots:
    void brightness_data()
    {
        QTest::addColumn<QList<int>>("amounts");
        QTest::addColumn<QRgb>("in");
        QTest::addColumn<QRgb>("out");
        QTest::newRow("0 is the identity") << QList<int>{0, 0, 0} << qRgb(10, 200, 250) << qRgb(10, 200, 250);
        QTest::newRow("adds to each channel") << QList<int>{40, 40, 40} << qRgb(10, 100, 200) << qRgb(50, 140, 240);
        QTest::newRow("clamps at 255") << QList<int>{40, 40, 40} << qRgb(250, 215, 216) << qRgb(255, 255, 255);
        QTest::newRow("clamps at 0") << QList<int>{-40, -40, -40} << qRgb(39, 40, 41) << qRgb(0, 0, 1);
        QTest::newRow("+255 makes white") << QList<int>{255, 255, 255} << qRgb(0, 1, 2) << qRgb(255, 255, 255);
        QTest::newRow("-255 makes black") << QList<int>{-255, -255, -255} << qRgb(255, 254, 253) << qRgb(0, 0, 0);
        QTest::newRow("each channel its own amount") << QList<int>{10, -20, 30} << qRgb(100, 100, 100)
                                                     << qRgb(110, 80, 130);
    }
    void brightness()
    {
        QFETCH(QList<int>, amounts);
        QFETCH(QRgb, in);
        QFETCH(QRgb, out);
        const QImage source = row({in, in});
        QCOMPARE(adjustBrightness(source, amounts[0], amounts[1], amounts[2]), row({out, out}));
        QCOMPARE(source, row({in, in}));
    }

    void contrast_data()
    {
        QTest::addColumn<double>("c");
        QTest::addColumn<QImage>("expected");
        QTest::newRow("0 is the identity") << 0.0 << probe();
        QTest::newRow("-3 is flat mid-grey")
            << -3.0 << row({qRgb(128, 128, 128), qRgb(128, 128, 128), qRgb(128, 128, 128), qRgb(128, 128, 128),
                            qRgb(128, 128, 128)});
        // gain 0.5: 127.5 + (in - 127.5) / 2, halves away from the middle.
        QTest::newRow("-1.5 halves the distance to the middle")
            << -1.5 << row({qRgb(64, 64, 64), qRgb(191, 191, 191), qRgb(128, 127, 64), qRgb(69, 164, 189),
                            qRgb(191, 64, 128)});
        // gain 4: everything more than 32 away from the middle saturates.
        QTest::newRow("3 is four times as steep")
            << 3.0 << row({qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(130, 126, 0), qRgb(0, 255, 255),
                           qRgb(255, 0, 130)});
    }
    void contrast()
    {
        QFETCH(double, c);
        QFETCH(QImage, expected);
        QCOMPARE(adjustContrast(probe(), c, c, c), expected);
    }

    void contrastGrowsWithC()
    {
        const QImage steps = row({qRgb(0, 60, 100), qRgb(140, 200, 255)});
        QImage previous = adjustContrast(steps, -3.0, -3.0, -3.0);
        for (int tenths = -29; tenths <= 30; ++tenths) {
            const double c = tenths / 10.0;
            const QImage current = adjustContrast(steps, c, c, c);
            // Below the middle values fall, above it they rise.
            QVERIFY(qRed(current.pixel(0, 0)) <= qRed(previous.pixel(0, 0)));
            QVERIFY(qBlue(current.pixel(0, 0)) <= qBlue(previous.pixel(0, 0)));
            QVERIFY(qRed(current.pixel(1, 0)) >= qRed(previous.pixel(1, 0)));
            QVERIFY(qGreen(current.pixel(1, 0)) >= qGreen(previous.pixel(1, 0)));
            previous = current;
        }
    }

    void contrastPerChannel()
    {
        const QImage result = adjustContrast(solid(1, 1, qRgb(200, 200, 200)), -3.0, 0.0, 1.0);
        QCOMPARE(result.pixel(0, 0), qRgb(128, 200, 255));
    }

    void saturation_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QRgb>("in");
        QTest::addColumn<QRgb>("out");
        // Luma of (200, 100, 50): 59.8 + 58.7 + 5.7 = 124.2; of (150, 100, 90): 113.81.
        QTest::newRow("-100 is the luma grey") << -100 << qRgb(200, 100, 50) << qRgb(124, 124, 124);
        QTest::newRow("0 is the identity") << 0 << qRgb(200, 100, 50) << qRgb(200, 100, 50);
        QTest::newRow("-50 halves the colour") << -50 << qRgb(200, 100, 50) << qRgb(162, 112, 87);
        QTest::newRow("100 doubles it") << 100 << qRgb(150, 100, 90) << qRgb(186, 86, 66);
        QTest::newRow("1000 clamps at both ends") << 1000 << qRgb(200, 100, 50) << qRgb(255, 0, 0);
        QTest::newRow("grey has no colour to change") << 1000 << qRgb(77, 77, 77) << qRgb(77, 77, 77);
    }
    void saturation()
    {
        QFETCH(int, level);
        QFETCH(QRgb, in);
        QFETCH(QRgb, out);
        QCOMPARE(adjustSaturation(solid(2, 1, in), level).pixel(1, 0), out);
    }

    void saturationZeroKeepsEveryPixel()
    {
        const QImage image = numbered(64, 64);
        QCOMPARE(adjustSaturation(image, 0), image);
    }

    void refusesValuesOutOfRange_data()
    {
        QTest::addColumn<int>("effect");
        QTest::addColumn<double>("value");
        // 0 brightness, 1 contrast, 2 saturation
        QTest::newRow("brightness 256") << 0 << 256.0;
        QTest::newRow("brightness -256") << 0 << -256.0;
        QTest::newRow("contrast 3.01") << 1 << 3.01;
        QTest::newRow("contrast -3.01") << 1 << -3.01;
        QTest::newRow("contrast NaN") << 1 << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("contrast infinity") << 1 << std::numeric_limits<double>::infinity();
        QTest::newRow("saturation -101") << 2 << -101.0;
        QTest::newRow("saturation 1001") << 2 << 1001.0;
        QTest::newRow("saturation 2000, as a preview may pass") << 2 << 2000.0;
    }
    void refusesValuesOutOfRange()
    {
        QFETCH(int, effect);
        QFETCH(double, value);
        const QImage image = probe();
        const auto call = [&] {
            const int whole = static_cast<int>(value);
            if (effect == 0)
                (void)adjustBrightness(image, 0, whole, 0);
            else if (effect == 1)
                (void)adjustContrast(image, 0.0, 0.0, value);
            else
                (void)adjustSaturation(image, whole);
        };
        QCOMPARE(errorKindOf(call), Error::Kind::InvalidArgument);
    }

    void progressRunsFromZeroToHundred()
    {
        QList<int> percents;
        (void)adjustSaturation(numbered(30, 250), 40, [&](int p) { percents.append(p); });
        QString why;
        QVERIFY2(isWholeProgress(percents, &why), qPrintable(why));
    }
};

QTEST_GUILESS_MAIN(TestAdjust)
#include "tst_adjust.moc"
