#include <array>
#include <limits>

#include <QtTest>

#include "EffectTestImages.h"
#include "imaging/core/Cut.h"
#include "base/Error.h"

using namespace imaging;
using namespace testimages;

using Corners = QList<qint32>;

class TestCut : public QObject
{
    Q_OBJECT

private slots:
    // Corners as the display reports a frame: (L,T) (R,T) (R,B) (L,B) on a
    // 100 x 80 image; right and bottom are exclusive.
    void rectangle_data()
    {
        QTest::addColumn<Corners>("xs");
        QTest::addColumn<Corners>("ys");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("inside: R-L x B-T pixels") << Corners{10, 30, 30, 10} << Corners{5, 5, 25, 25}
                                                  << QRect(10, 5, 20, 20);
        QTest::newRow("drawn from bottom right to top left") << Corners{30, 10, 10, 30} << Corners{25, 25, 5, 5}
                                                             << QRect(10, 5, 20, 20);
        QTest::newRow("the whole image") << Corners{0, 100, 100, 0} << Corners{0, 0, 80, 80} << QRect(0, 0, 100, 80);
        QTest::newRow("one pixel") << Corners{99, 100, 100, 99} << Corners{79, 79, 80, 80} << QRect(99, 79, 1, 1);
        QTest::newRow("clipped left and top") << Corners{-20, 10, 10, -20} << Corners{-5, -5, 7, 7}
                                              << QRect(0, 0, 10, 7);
        QTest::newRow("clipped right and bottom") << Corners{90, 150, 150, 90} << Corners{70, 70, 99, 99}
                                                  << QRect(90, 70, 10, 10);
        QTest::newRow("larger than the image on every side") << Corners{-1, 101, 101, -1} << Corners{-1, -1, 81, 81}
                                                             << QRect(0, 0, 100, 80);
        QTest::newRow("extreme coordinates do not overflow")
            << Corners{std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), 0, 0}
            << Corners{std::numeric_limits<qint32>::min(), 0, std::numeric_limits<qint32>::max(), 0}
            << QRect(0, 0, 100, 80);
        QTest::newRow("a triangle cuts to its bounding box") << Corners{10, 40, 20} << Corners{10, 10, 30}
                                                             << QRect(10, 10, 30, 20);
    }
    void rectangle()
    {
        QFETCH(Corners, xs);
        QFETCH(Corners, ys);
        QFETCH(QRect, expected);
        QCOMPARE(cutRectangle(xs, ys, static_cast<qint32>(xs.size()), QSize(100, 80)), expected);
    }

    void refusesFramesWithoutPixels_data()
    {
        QTest::addColumn<Corners>("xs");
        QTest::addColumn<Corners>("ys");
        QTest::addColumn<qint32>("count");
        QTest::newRow("zero width") << Corners{10, 10, 10, 10} << Corners{5, 5, 25, 25} << 4;
        QTest::newRow("zero height") << Corners{10, 30, 30, 10} << Corners{5, 5, 5, 5} << 4;
        QTest::newRow("left of the image") << Corners{-30, -10, -10, -30} << Corners{5, 5, 25, 25} << 4;
        QTest::newRow("right of the image") << Corners{100, 120, 120, 100} << Corners{5, 5, 25, 25} << 4;
        QTest::newRow("below the image") << Corners{10, 30, 30, 10} << Corners{80, 80, 90, 90} << 4;
        QTest::newRow("two corners are no polygon") << Corners{10, 30} << Corners{5, 25} << 2;
        QTest::newRow("negative count") << Corners{10, 30, 30, 10} << Corners{5, 5, 25, 25} << -4;
        QTest::newRow("more corners than coordinates") << Corners{10, 30, 30, 10} << Corners{5, 5, 25, 25} << 5;
    }
    void refusesFramesWithoutPixels()
    {
        QFETCH(Corners, xs);
        QFETCH(Corners, ys);
        QFETCH(qint32, count);
        QCOMPARE(errorKindOf([&] { (void)cutRectangle(xs, ys, count, QSize(100, 80)); }),
                 Error::Kind::InvalidArgument);
    }

    void cutKeepsThePixelsOfTheFrame()
    {
        const QImage image = numbered(20, 10);
        const std::array<qint32, 4> xs{3, 8, 8, 3};
        const std::array<qint32, 4> ys{2, 2, 6, 6};
        QCOMPARE(cutImage(image, xs, ys, 4), image.copy(3, 2, 5, 4));
        QCOMPARE(cutImage(image, xs, ys, 4).pixel(0, 0), image.pixel(3, 2));
    }
};

QTEST_GUILESS_MAIN(TestCut)
#include "tst_cut.moc"
