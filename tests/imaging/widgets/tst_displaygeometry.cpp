#include <QtTest>

#include "imaging/widgets/DisplayGeometry.h"

using namespace imaging::display;

class TestDisplayGeometry : public QObject
{
    Q_OBJECT

private slots:
    void fitPlacesTheWholeImageCentred_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("view");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("landscape: width fills, centred vertically")
            << QSize(600, 400) << QSize(300, 300) << QRect(0, 50, 300, 200);
        QTest::newRow("portrait: height fills, centred horizontally")
            << QSize(400, 600) << QSize(300, 300) << QRect(50, 0, 200, 300);
        QTest::newRow("20-megapixel photo in the main display")
            << QSize(5472, 3648) << QSize(295, 295) << QRect(0, 49, 295, 197);
        QTest::newRow("small image is not enlarged") << QSize(100, 50) << QSize(300, 300)
                                                     << QRect(100, 125, 100, 50);
        QTest::newRow("exactly the view's size") << QSize(300, 300) << QSize(300, 300)
                                                  << QRect(0, 0, 300, 300);
        QTest::newRow("wide view, square image") << QSize(1000, 1000) << QSize(400, 200)
                                                  << QRect(100, 0, 200, 200);
        QTest::newRow("hair-thin panorama keeps one pixel of height")
            << QSize(30000, 10) << QSize(300, 300) << QRect(0, 149, 300, 1);
    }
    void fitPlacesTheWholeImageCentred()
    {
        QFETCH(QSize, image);
        QFETCH(QSize, view);
        QFETCH(QRect, placed);
        const Layout layout = layOut(image, view, fitZoom(image, view), QPoint(40, 40));
        QCOMPARE(layout.placed, placed);
        QCOMPARE(layout.scroll, QPoint(0, 0));
    }

    void scrollIsClampedToTheZoomedImage_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QPoint>("clamped");
        QTest::addColumn<QPoint>("topLeft");
        // The view is 300 x 300 throughout.
        QTest::newRow("negative scroll stops at the top-left")
            << QSize(1000, 800) << 1.0 << QPoint(-5, -9) << QPoint(0, 0) << QPoint(0, 0);
        QTest::newRow("inside the range is kept")
            << QSize(1000, 800) << 1.0 << QPoint(120, 30) << QPoint(120, 30) << QPoint(-120, -30);
        QTest::newRow("beyond the range stops at the bottom-right")
            << QSize(1000, 800) << 1.0 << QPoint(900, 900) << QPoint(700, 500) << QPoint(-700, -500);
        QTest::newRow("zoom 2 doubles the range")
            << QSize(1000, 800) << 2.0 << QPoint(5000, 5000) << QPoint(1700, 1300) << QPoint(-1700, -1300);
        QTest::newRow("zoom 1/2 of a larger image")
            << QSize(1000, 800) << 0.5 << QPoint(5000, 5000) << QPoint(200, 100) << QPoint(-200, -100);
        QTest::newRow("zoomed out below the view: centred, no scroll")
            << QSize(1000, 800) << 0.25 << QPoint(50, 50) << QPoint(0, 0) << QPoint(25, 50);
        QTest::newRow("wide strip: scrolls across, centred down")
            << QSize(1000, 100) << 1.0 << QPoint(800, 40) << QPoint(700, 0) << QPoint(-700, 100);
    }
    void scrollIsClampedToTheZoomedImage()
    {
        QFETCH(QSize, image);
        QFETCH(double, zoom);
        QFETCH(QPoint, scroll);
        QFETCH(QPoint, clamped);
        QFETCH(QPoint, topLeft);
        const Layout layout = layOut(image, QSize(300, 300), zoom, scroll);
        QCOMPARE(layout.scroll, clamped);
        QCOMPARE(layout.placed.topLeft(), topLeft);
        QCOMPARE(layout.placed.size(), zoomedSize(image, zoom));
    }

    void zoomKeepsTheImagePointUnderTheAnchor_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QPointF>("anchor");
        QTest::newRow("1 -> 2 around the centre") << 1.0 << 2.0 << QPoint(350, 350) << QPointF(150, 150);
        QTest::newRow("1 -> 4 around a corner point") << 1.0 << 4.0 << QPoint(200, 100) << QPointF(20, 260);
        QTest::newRow("4 -> 1/2 around an off-centre point") << 4.0 << 0.5 << QPoint(1700, 1900)
                                                               << QPointF(90, 140);
        QTest::newRow("2 -> 1 from the top-left") << 2.0 << 1.0 << QPoint(0, 0) << QPointF(0, 0);
    }
    void zoomKeepsTheImagePointUnderTheAnchor()
    {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(QPoint, scroll);
        QFETCH(QPointF, anchor);
        const QSize image(1000, 1000);
        const QSize view(300, 300);
        const Layout before = layOut(image, view, from, scroll);
        const QPointF point = viewToImage(before, image, anchor);
        const Layout after = layOut(image, view, to, scrollPlacing(image, view, to, point, anchor));
        const QPointF moved = viewToImage(after, image, anchor) - point;
        QVERIFY2(qAbs(moved.x()) * to < 0.51 && qAbs(moved.y()) * to < 0.51,
                 qPrintable(QStringLiteral("moved by %1, %2 image pixels").arg(moved.x()).arg(moved.y())));
    }

    void placingNearTheEdgeStaysInRange()
    {
        // Centring on a corner point cannot scroll past the image.
        const QSize image(1000, 800);
        const QSize view(300, 300);
        QCOMPARE(scrollPlacing(image, view, 1.0, QPointF(0, 0), QPointF(150, 150)), QPoint(0, 0));
        QCOMPARE(scrollPlacing(image, view, 1.0, QPointF(1000, 800), QPointF(150, 150)), QPoint(700, 500));
        QCOMPARE(scrollPlacing(image, view, 1.0, QPointF(500, 400), QPointF(150, 150)), QPoint(350, 250));
    }

    void visiblePartOfTheImage_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QRectF>("part");
        QTest::newRow("zoom 1 at the top-left") << 1.0 << QPoint(0, 0) << QRectF(0, 0, 300, 300);
        QTest::newRow("zoom 2 scrolled") << 2.0 << QPoint(200, 100) << QRectF(100, 50, 150, 150);
        QTest::newRow("whole image when it fits") << 0.25 << QPoint(0, 0) << QRectF(0, 0, 1000, 800);
    }
    void visiblePartOfTheImage()
    {
        QFETCH(double, zoom);
        QFETCH(QPoint, scroll);
        QFETCH(QRectF, part);
        const QSize image(1000, 800);
        const QSize view(300, 300);
        QCOMPARE(visiblePart(layOut(image, view, zoom, scroll), image, view), part);
    }

    void longSideSizing_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("size");
        QTest::newRow("landscape") << QSize(600, 400) << QSize(150, 100);
        QTest::newRow("portrait") << QSize(400, 600) << QSize(100, 150);
        QTest::newRow("square: both sides") << QSize(77, 77) << QSize(150, 150);
        QTest::newRow("small image is enlarged") << QSize(30, 20) << QSize(150, 100);
        QTest::newRow("thin strip keeps a pixel") << QSize(3000, 1) << QSize(150, 1);
    }
    void longSideSizing()
    {
        QFETCH(QSize, image);
        QFETCH(QSize, size);
        QCOMPARE(fittedToLongSide(image, 150), size);
    }
};

QTEST_GUILESS_MAIN(TestDisplayGeometry)
#include "tst_displaygeometry.moc"
