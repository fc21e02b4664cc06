#include <cmath>
#include <numbers>

#include <QtTest>

#include "EffectTestImages.h"
#include "base/Error.h"
#include "imaging/core/Image.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/FittedRead.h"
#include "imaging/core/JpegCodec.h"
#include "imaging/core/Resize.h"

using namespace imaging;
using namespace testimages;

Q_DECLARE_METATYPE(imaging::Error::Kind)

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

// A grey ramp along one axis, value `slope` * (position of the pixel centre).
QImage rampImage(int length, bool alongRows, double slope)
{
    QImage ramp(alongRows ? length : 8, alongRows ? 8 : length, QImage::Format_RGB32);
    for (int y = 0; y < ramp.height(); ++y)
        for (int x = 0; x < ramp.width(); ++x) {
            const int v = static_cast<int>(std::lround(slope * ((alongRows ? x : y) + 0.5)));
            ramp.setPixel(x, y, qRgb(v, v, v));
        }
    return ramp;
}

// A JPEG whose APP1 segment, right after SOI, gives an EXIF orientation.
QByteArray withOrientation(const QByteArray &jpeg, int orientation)
{
    QByteArray payload("Exif\0\0II*\0\x08\0\0\0", 14);
    const char entry[] = {1, 0,                             // one entry
                          0x12, 0x01, 3, 0, 1, 0, 0, 0,     // orientation, SHORT, count 1
                          static_cast<char>(orientation), 0, 0, 0,
                          0, 0, 0, 0};                      // no next directory
    payload.append(entry, sizeof entry);
    const auto length = static_cast<int>(payload.size()) + 2;
    QByteArray segment("\xff\xe1", 2);
    segment.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xff)).append(payload);
    return jpeg.left(2) + segment + jpeg.mid(2);
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

    // A reduced JPEG read rounds its size up, so the last pixel may stand for
    // a fraction of one; mapping only the area the stored image fills keeps
    // a ramp exactly where the stored ramp was, on whichever side the partial
    // pixel lies.
    void areaIsMappedExactly_data()
    {
        QTest::addColumn<bool>("alongRows");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("length");
        QTest::newRow("last column a quarter, shrink") << true << 0.0 << 100.25;
        QTest::newRow("first column a quarter (mirrored), shrink") << true << 0.75 << 100.25;
        QTest::newRow("last row an eighth, shrink") << false << 0.0 << 100.125;
        QTest::newRow("inner part, enlarge") << true << 30.0 << 20.5;
    }
    void areaIsMappedExactly()
    {
        QFETCH(bool, alongRows);
        QFETCH(double, start);
        QFETCH(double, length);
        constexpr int kSize = 101;
        constexpr double kSlope = 2.0;
        constexpr int kTarget = 41;
        const QImage ramp = rampImage(kSize, alongRows, kSlope);
        const QRectF area = alongRows ? QRectF(start, 0, length, 8) : QRectF(0, start, 8, length);
        const QImage result = resizeImage(ramp, area, alongRows ? kTarget : 8, alongRows ? 8 : kTarget);
        const double ratio = length / kTarget;
        // Away from the image borders, where the kernel is cut.
        for (int i = 0; i < kTarget; ++i) {
            const double centre = start + (i + 0.5) * ratio;
            if (centre < 3.0 * std::max(ratio, 1.0) || centre > kSize - 3.0 * std::max(ratio, 1.0))
                continue;
            const double expected = kSlope * centre;
            const int got = qGray(alongRows ? result.pixel(i, 4) : result.pixel(4, i));
            QVERIFY2(std::abs(got - expected) <= 1.0,
                     qPrintable(QStringLiteral("at %1: %2, expected %3").arg(i).arg(got).arg(expected)));
        }
    }

    void refusesAreasOutsideTheImage_data()
    {
        QTest::addColumn<QRectF>("area");
        QTest::newRow("empty") << QRectF(0, 0, 0, 10);
        QTest::newRow("starts before the image") << QRectF(-0.5, 0, 10, 10);
        QTest::newRow("ends past the image") << QRectF(0, 0, 10, 10.5);
        QTest::newRow("not a number") << QRectF(0, 0, std::nan(""), 10);
    }
    void refusesAreasOutsideTheImage()
    {
        QFETCH(QRectF, area);
        QCOMPARE(errorKindOf([&] { (void)resizeImage(solid(10, 10, 0), area, 5, 5); }), Error::Kind::InvalidArgument);
    }

    // A shrunk read (reduced JPEG decode, then the filter) against the filter
    // on the whole decode. The stored size, 8 x 129 + 1 by 8 x 65 + 1, leaves
    // an eighth of a pixel in the last column and row at 1/8 scale; under
    // every EXIF orientation that sliver lands on a different side, and
    // mapping it as a whole pixel would shift the picture by up to half a
    // target pixel.
    void shrunkReadMatchesTheWholeRead_data()
    {
        QTest::addColumn<int>("orientation");
        for (int orientation = 1; orientation <= 8; ++orientation)
            QTest::newRow(qPrintable(QStringLiteral("orientation %1").arg(orientation))) << orientation;
    }
    void shrunkReadMatchesTheWholeRead()
    {
        QFETCH(int, orientation);
        constexpr int kStoredWidth = 1033, kStoredHeight = 521;
        constexpr double kScale = 16.0; // stored pixels to a target pixel
        QImage stored(kStoredWidth, kStoredHeight, QImage::Format_RGB32);
        for (int y = 0; y < kStoredHeight; ++y)
            for (int x = 0; x < kStoredWidth; ++x) {
                const int grey = qBound(0, int(std::lround(pattern((x + 0.5) / kScale, (y + 0.5) / kScale, false))), 255);
                stored.setPixel(x, y, qRgb(grey, grey, grey));
            }
        const QByteArray jpeg = withOrientation(encodeJpeg(Image{stored}, 95, false), orientation);
        const QImage whole = decodeImage(jpeg).pixels;
        const QSize target = whole.width() > whole.height() ? QSize(64, 32) : QSize(32, 64);

        QList<int> percents;
        const Image shrunk = decodeImageShrunk(jpeg, target, [&](int p) { percents.append(p); });
        const double psnr = psnrInside(shrunk.pixels, resizeImage(whole, target.width(), target.height()), 0);
        // About 40 dB; mapping the reduced pixels as whole ones scores 20.
        QVERIFY2(psnr > 30.0, qPrintable(QStringLiteral("%1 dB").arg(psnr)));
        QString why;
        QVERIFY2(isWholeProgress(percents, &why), qPrintable(why));
    }

    void refusesSizesBeyondTheLimits_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<Error::Kind>("kind");
        QTest::newRow("empty width") << 0 << 10 << Error::Kind::InvalidArgument;
        QTest::newRow("negative height") << 10 << -3 << Error::Kind::InvalidArgument;
        QTest::newRow("one side too long") << int(kMaxSide) + 1 << 1 << Error::Kind::TooLarge;
        QTest::newRow("too many pixels") << 20000 << 20000 << Error::Kind::TooLarge;
    }
    void refusesSizesBeyondTheLimits()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(Error::Kind, kind);
        QCOMPARE(errorKindOf([&] { (void)resizeImage(solid(4, 4, 0), width, height); }), kind);
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
