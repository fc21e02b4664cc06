#include <cmath>
#include <numbers>

#include <QtTest>

#include "EffectTestImages.h"
#include "imaging/core/Error.h"
#include "imaging/core/Image.h"
#include "imaging/core/Resize.h"

using namespace imaging;
using namespace testimages;

namespace {

// A smooth pattern defined everywhere, in units of target pixels: two waves
// the target grid can hold, plus one finer than the target can show (a good
// filter removes it, a poor one folds it back as a false pattern).
double pattern(double x, double y, bool withTooFineWave)
{
    const double tau = 2.0 * std::numbers::pi;
    double value = 127.5 + 60.0 * std::cos(tau * (0.31 * x + 0.07 * y))
                   + 40.0 * std::cos(tau * (0.12 * x - 0.37 * y));
    if (withTooFineWave)
        value += 20.0 * std::cos(tau * 0.9 * x);
    return value;
}

// Grey image of the pattern sampled at pixel centres, `scale` pixels to one
// target pixel.
QImage patternImage(int size, int scale, bool withTooFineWave)
{
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double v = pattern((x + 0.5) / scale, (y + 0.5) / scale, withTooFineWave);
            const int grey = qBound(0, static_cast<int>(std::lround(v)), 255);
            image.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    return image;
}

// Each target pixel the plain mean of the factor x factor block it covers.
QImage boxAverage(const QImage &source, int factor)
{
    QImage target(source.width() / factor, source.height() / factor, QImage::Format_RGB32);
    for (int y = 0; y < target.height(); ++y) {
        for (int x = 0; x < target.width(); ++x) {
            int sum = 0;
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i)
                    sum += qGray(source.pixel(x * factor + i, y * factor + j));
            const int grey = (sum + factor * factor / 2) / (factor * factor);
            target.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    return target;
}

// PSNR of the grey channel against `reference`, leaving out a border where
// every filter has to make do with a partial kernel.
double psnrInside(const QImage &image, const QImage &reference, int border)
{
    double squares = 0.0;
    int count = 0;
    for (int y = border; y < image.height() - border; ++y) {
        for (int x = border; x < image.width() - border; ++x) {
            const double d = qGray(image.pixel(x, y)) - qGray(reference.pixel(x, y));
            squares += d * d;
            ++count;
        }
    }
    return 10.0 * std::log10(255.0 * 255.0 / (squares / count));
}

} // namespace

class TestResize : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data()
    {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QSize>("to");
        QTest::newRow("shrink to one pixel") << QSize(300, 200) << QSize(1, 1);
        QTest::newRow("one pixel to many") << QSize(1, 1) << QSize(5, 7);
        QTest::newRow("enlarge") << QSize(3, 2) << QSize(300, 200);
        QTest::newRow("shrink one way, enlarge the other") << QSize(400, 3) << QSize(7, 90);
        QTest::newRow("long thin line") << QSize(1000, 1) << QSize(33, 1);
        QTest::newRow("odd ratio, tall enough for two threads") << QSize(97, 211) << QSize(31, 50);
    }
    void sizes()
    {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        const QImage source = numbered(from.width(), from.height());
        const QImage result = resizeImage(source, to.width(), to.height());
        QCOMPARE(result.size(), to);
        QCOMPARE(result.format(), QImage::Format_RGB32);
        QCOMPARE(source, numbered(from.width(), from.height()));
    }

    // Normalised weights: edges do not darken, ringing has nothing to ring on.
    void flatColourStaysExact_data()
    {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QSize>("to");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("shrink, mixed colour") << QSize(640, 480) << QSize(37, 29) << qRgb(200, 17, 99);
        QTest::newRow("shrink, full white") << QSize(250, 250) << QSize(16, 16) << qRgb(255, 255, 255);
        QTest::newRow("shrink, black") << QSize(90, 60) << QSize(9, 6) << qRgb(0, 0, 0);
        QTest::newRow("enlarge, extremes per channel") << QSize(4, 3) << QSize(123, 77) << qRgb(255, 0, 254);
        QTest::newRow("to one pixel") << QSize(500, 20) << QSize(1, 1) << qRgb(1, 128, 254);
    }
    void flatColourStaysExact()
    {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        QFETCH(QRgb, colour);
        const QImage result = resizeImage(solid(from.width(), from.height(), colour), to.width(), to.height());
        QCOMPARE(result, solid(to.width(), to.height(), colour));
    }

    void sameSizeKeepsEveryPixel()
    {
        const QImage source = numbered(40, 30);
        QCOMPARE(resizeImage(source, 40, 30), source);
    }

    // A ramp is reproduced by any normalised symmetric filter whose grid
    // lines up with the source's: target pixel i sits at source position
    // (i + 0.5) / 4 - 0.5. Checked along both axes, away from the borders.
    void rampsStayInPlace_data()
    {
        QTest::addColumn<bool>("alongRows");
        QTest::newRow("ramp along a row") << true;
        QTest::newRow("ramp down a column") << false;
    }
    void rampsStayInPlace()
    {
        QFETCH(bool, alongRows);
        constexpr int kSize = 64;
        constexpr int kFactor = 4;
        QImage ramp(alongRows ? kSize : 8, alongRows ? 8 : kSize, QImage::Format_RGB32);
        for (int y = 0; y < ramp.height(); ++y)
            for (int x = 0; x < ramp.width(); ++x) {
                const int v = 3 * (alongRows ? x : y);
                ramp.setPixel(x, y, qRgb(v, v, v));
            }
        const QImage result = resizeImage(ramp, ramp.width() * (alongRows ? kFactor : 1),
                                          ramp.height() * (alongRows ? 1 : kFactor));
        for (int i = 3 * kFactor; i < kSize * kFactor - 3 * kFactor; ++i) {
            const double expected = 3.0 * ((i + 0.5) / kFactor - 0.5);
            const int got = qGray(alongRows ? result.pixel(i, 4) : result.pixel(4, i));
            QVERIFY2(std::abs(got - expected) <= 0.5 + 1e-9,
                     qPrintable(QStringLiteral("at %1: %2, expected %3").arg(i).arg(got).arg(expected)));
        }
    }

    // The reason for a windowed-sinc filter: on detail near the limit of the
    // target grid, plain area averaging blurs the waves the target can hold
    // and folds the finer one back; the exact reference is the pattern
    // without that wave, sampled at the target pixel centres.
    void closerToTheExactPatternThanBoxAveraging()
    {
        constexpr int kFactor = 4;
        constexpr int kTarget = 128;
        const QImage source = patternImage(kTarget * kFactor, kFactor, true);
        const QImage exact = patternImage(kTarget, 1, false);

        const double lanczos = psnrInside(resizeImage(source, kTarget, kTarget), exact, 4);
        const double box = psnrInside(boxAverage(source, kFactor), exact, 4);
        QVERIFY2(lanczos > box + 5.0, qPrintable(QStringLiteral("Lanczos %1 dB, box %2 dB").arg(lanczos).arg(box)));
        QVERIFY2(lanczos > 35.0, qPrintable(QStringLiteral("Lanczos only %1 dB").arg(lanczos)));
    }

    void refusesSizesBeyondTheLimits_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("empty width") << 0 << 10;
        QTest::newRow("negative height") << 10 << -3;
        QTest::newRow("one side too long") << int(kMaxSide) + 1 << 1;
        QTest::newRow("too many pixels") << 20000 << 20000;
    }
    void refusesSizesBeyondTheLimits()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QCOMPARE(errorKindOf([&] { (void)resizeImage(solid(4, 4, 0), width, height); }), Error::Kind::TooLarge);
    }

    void progressRunsFromZeroToHundred_data()
    {
        QTest::addColumn<QSize>("to");
        QTest::newRow("many target rows") << QSize(300, 700);
        QTest::newRow("one target row") << QSize(50, 1);
    }
    void progressRunsFromZeroToHundred()
    {
        QFETCH(QSize, to);
        QList<int> percents;
        (void)resizeImage(numbered(200, 150), to.width(), to.height(), [&](int p) { percents.append(p); });
        QString why;
        QVERIFY2(isWholeProgress(percents, &why), qPrintable(why));
    }
};

QTEST_GUILESS_MAIN(TestResize)
#include "tst_resize.moc"
