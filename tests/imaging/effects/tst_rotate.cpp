#include <QtTest>

#include "EffectTestImages.h"
#include "base/Error.h"
#include "imaging/core/Image.h"
#include "imaging/core/Rotate.h"

using namespace imaging;
using namespace testimages;

namespace {

const QRgb kA = qRgb(10, 0, 0);
const QRgb kB = qRgb(20, 0, 0);
const QRgb kC = qRgb(30, 0, 0);
const QRgb kD = qRgb(40, 0, 0);
const QRgb kE = qRgb(50, 0, 0);
const QRgb kF = qRgb(60, 0, 0);

// a b c
// d e f
QImage twoRows()
{
    QImage image(3, 2, QImage::Format_RGB32);
    const QRgb pixels[] = {kA, kB, kC, kD, kE, kF};
    for (int i = 0; i < 6; ++i)
        image.setPixel(i % 3, i / 3, pixels[i]);
    return image;
}

QImage fromRows(const QList<QList<QRgb>> &rows)
{
    QImage image(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, rows[y][x]);
    return image;
}

bool isNear(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

} // namespace

class TestRotate : public QObject
{
    Q_OBJECT

private slots:
    void fixedTurnsAndMirrorsMovePixels_data()
    {
        QTest::addColumn<int>("quarterTurns");
        QTest::addColumn<bool>("mirrorHorizontal");
        QTest::addColumn<bool>("mirrorVertical");
        QTest::addColumn<QImage>("expected");
        QTest::newRow("right turn: left column becomes the top row")
            << 1 << false << false << fromRows({{kD, kA}, {kE, kB}, {kF, kC}});
        QTest::newRow("left turn: right column becomes the top row")
            << -1 << false << false << fromRows({{kC, kF}, {kB, kE}, {kA, kD}});
        QTest::newRow("three right turns are a left turn")
            << 3 << false << false << fromRows({{kC, kF}, {kB, kE}, {kA, kD}});
        QTest::newRow("half turn") << 2 << false << false << fromRows({{kF, kE, kD}, {kC, kB, kA}});
        QTest::newRow("mirror horizontal") << 0 << true << false << fromRows({{kC, kB, kA}, {kF, kE, kD}});
        QTest::newRow("mirror vertical") << 0 << false << true << fromRows({{kD, kE, kF}, {kA, kB, kC}});
    }
    void fixedTurnsAndMirrorsMovePixels()
    {
        QFETCH(int, quarterTurns);
        QFETCH(bool, mirrorHorizontal);
        QFETCH(bool, mirrorVertical);
        QFETCH(QImage, expected);
        const QImage turned = turnImage(mirrorImage(twoRows(), mirrorHorizontal, mirrorVertical), quarterTurns);
        QCOMPARE(turned, expected);
        QCOMPARE(turned.format(), QImage::Format_RGB32);
    }

    // Sequences that must give the input back, on an image with every pixel
    // different and odd sides (a centre pixel, no symmetry to hide behind).
    void sequencesThatUndoThemselves_data()
    {
        QTest::addColumn<QList<int>>("quarterTurns");
        QTest::addColumn<int>("mirrorsHorizontal");
        QTest::addColumn<int>("mirrorsVertical");
        QTest::newRow("four right turns") << QList<int>{1, 1, 1, 1} << 0 << 0;
        QTest::newRow("right then left") << QList<int>{1, -1} << 0 << 0;
        QTest::newRow("two half turns") << QList<int>{2, 2} << 0 << 0;
        QTest::newRow("two horizontal mirrors") << QList<int>{} << 2 << 0;
        QTest::newRow("two vertical mirrors") << QList<int>{} << 0 << 2;
        QTest::newRow("both mirrors and a half turn") << QList<int>{2} << 1 << 1;
    }
    void sequencesThatUndoThemselves()
    {
        QFETCH(QList<int>, quarterTurns);
        QFETCH(int, mirrorsHorizontal);
        QFETCH(int, mirrorsVertical);
        const QImage original = numbered(7, 5);
        QImage image = original;
        for (const int turns : quarterTurns)
            image = turnImage(image, turns);
        for (int i = 0; i < mirrorsHorizontal; ++i)
            image = mirrorImage(image, true, false);
        for (int i = 0; i < mirrorsVertical; ++i)
            image = mirrorImage(image, false, true);
        QCOMPARE(image, original);
    }

    void turnedCanvasHoldsTheWholeImage_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("degrees");
        QTest::addColumn<QSize>("canvas");
        QTest::newRow("no turn") << QSize(100, 50) << 0.0 << QSize(100, 50);
        QTest::newRow("quarter turn gains no pixel") << QSize(100, 50) << 90.0 << QSize(50, 100);
        QTest::newRow("half turn") << QSize(100, 50) << 180.0 << QSize(100, 50);
        QTest::newRow("45 degrees: the diagonal, rounded up") << QSize(100, 100) << 45.0 << QSize(142, 142);
        QTest::newRow("30 degrees") << QSize(100, 50) << 30.0 << QSize(112, 94);
        QTest::newRow("counter-clockwise is the same box") << QSize(100, 50) << -30.0 << QSize(112, 94);
        QTest::newRow("a hundredth of a degree adds a pixel") << QSize(100, 100) << 0.01 << QSize(101, 101);
        QTest::newRow("one pixel at 45 degrees") << QSize(1, 1) << 45.0 << QSize(2, 2);
    }
    void turnedCanvasHoldsTheWholeImage()
    {
        QFETCH(QSize, size);
        QFETCH(double, degrees);
        QFETCH(QSize, canvas);
        QCOMPARE(turnedCanvasSize(size.width(), size.height(), degrees), canvas);
    }

    void freeAngleFillsTheNewCorners()
    {
        const QRgb red = qRgb(255, 0, 0);
        const QRgb white = qRgb(255, 255, 255);
        const QImage turned = rotateImage(solid(40, 20, red), 45.0, white);
        QCOMPARE(turned.size(), turnedCanvasSize(40, 20, 45.0));
        QCOMPARE(turned.format(), QImage::Format_RGB32);
        const int right = turned.width() - 1;
        const int bottom = turned.height() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
            QCOMPARE(turned.pixel(corner), white);
        QCOMPARE(turned.pixel(turned.width() / 2, turned.height() / 2), red);
    }

    // A marker at the right end of a wide image: turned 45 degrees clockwise
    // (y grows downwards) it ends up below and right of the centre.
    void freeAngleTurnsClockwise_data()
    {
        QTest::addColumn<double>("degrees");
        QTest::addColumn<bool>("markerBelowCentre");
        QTest::newRow("positive is clockwise") << 45.0 << true;
        QTest::newRow("negative is counter-clockwise") << -45.0 << false;
    }
    void freeAngleTurnsClockwise()
    {
        QFETCH(double, degrees);
        QFETCH(bool, markerBelowCentre);
        const QRgb blue = qRgb(0, 0, 255);
        QImage image = solid(60, 10, qRgb(0, 0, 0));
        for (int y = 0; y < 10; ++y)
            for (int x = 50; x < 60; ++x)
                image.setPixel(x, y, blue);
        const QImage turned = rotateImage(image, degrees, qRgb(255, 255, 255));
        const QPoint centre(turned.width() / 2, turned.height() / 2);
        // The marker's middle lies 25 px from the centre along the turned axis.
        const int offset = 25 * 707 / 1000;
        const QPoint marker = centre + QPoint(offset, markerBelowCentre ? offset : -offset);
        const QPoint mirrored = centre + QPoint(offset, markerBelowCentre ? -offset : offset);
        QCOMPARE(turned.pixel(marker), blue);
        QVERIFY(turned.pixel(mirrored) != blue);
    }

    // Bilinear: a half-turn through the free path lands exactly on the grid,
    // so it must reproduce the exact turn up to rounding.
    void freeHalfTurnMatchesTheExactOne()
    {
        const QImage image = numbered(9, 6);
        const QImage free = rotateImage(image, 180.0, qRgb(255, 255, 255));
        const QImage exact = turnImage(image, 2);
        QCOMPARE(free.size(), exact.size());
        for (int y = 0; y < exact.height(); ++y)
            for (int x = 0; x < exact.width(); ++x)
                QVERIFY2(isNear(free.pixel(x, y), exact.pixel(x, y), 1), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    }

    void freeAngleRefusesACanvasBeyondTheLimits()
    {
        // 30000 x 1 turned by 45 degrees needs a 21214 x 21214 canvas.
        QCOMPARE(errorKindOf([] { (void)rotateImage(solid(int(kMaxSide), 1, 0), 45.0, 0); }),
                 Error::Kind::TooLarge);
    }

    void freeAngleReportsProgress()
    {
        QList<int> percents;
        (void)rotateImage(numbered(90, 70), 30.0, qRgb(255, 255, 255), [&](int p) { percents.append(p); });
        QString why;
        QVERIFY2(isWholeProgress(percents, &why), qPrintable(why));
    }
};

QTEST_GUILESS_MAIN(TestRotate)
#include "tst_rotate.moc"
