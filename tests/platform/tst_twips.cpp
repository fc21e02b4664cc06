#include <QtTest>

#include <QWidget>

#include "platform/Twips.h"

using namespace platform;

class TestTwips : public QObject
{
    Q_OBJECT

private slots:
    void controlPlaces_data()
    {
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("a text box") << QRect(120, 360, 2235, 270) << QRect(8, 24, 149, 18);
        QTest::newRow("origin") << QRect(0, 0, 15, 15) << QRect(0, 0, 1, 1);
        QTest::newRow("parts of a pixel are dropped") << QRect(14, 29, 44, 16) << QRect(0, 1, 2, 1);
    }
    void controlPlaces()
    {
        QFETCH(QRect, twips);
        QFETCH(QRect, pixels);
        QWidget parent;
        auto *control = new QWidget(&parent);
        place(control, twips.x(), twips.y(), twips.width(), twips.height());
        QCOMPARE(control->geometry(), pixels);
    }

    void outerSizes_data()
    {
        QTest::addColumn<QSize>("outerTwips");
        QTest::addColumn<QSize>("clientPixels");
        QTest::addColumn<QSize>("readBackTwips");
        QTest::newRow("main window at start") << QSize(9525, 5220) << QSize(629, 323) << QSize(9525, 5220);
        QTest::newRow("main window with thumbnails") << QSize(9525, 6705) << QSize(629, 422) << QSize(9525, 6705);
        QTest::newRow("main window, slideshow height") << QSize(9525, 5160) << QSize(629, 319) << QSize(9525, 5160);
        QTest::newRow("part of a pixel is dropped") << QSize(9530, 5234) << QSize(629, 323) << QSize(9525, 5220);
    }
    void outerSizes()
    {
        QFETCH(QSize, outerTwips);
        QFETCH(QSize, clientPixels);
        QFETCH(QSize, readBackTwips);
        QWidget window;
        setOuterSizeTwips(&window, outerTwips.width(), outerTwips.height());
        QCOMPARE(window.size(), clientPixels);
        QCOMPARE(outerSizeTwips(&window), readBackTwips);
    }

    void windowPositions()
    {
        QWidget window;
        moveTwips(&window, 1500, 3000);
        QCOMPARE(window.pos(), QPoint(100, 200));
        QCOMPARE(positionTwips(&window), QPoint(1500, 3000));
    }

    void screenSizeCentresAWindow()
    {
        const QSize screen = screenSizeTwips();
        QVERIFY(!screen.isEmpty());
        QWidget window;
        setOuterSizeTwips(&window, 9330, 4860);
        const QSize outer = outerSizeTwips(&window);
        moveTwips(&window, (screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2);
        const QRect available = QGuiApplication::primaryScreen()->geometry();
        const QPoint outerCentre = window.pos() + QPoint((window.width() + kFrameWidthPx) / 2, (window.height() + kFrameHeightPx) / 2);
        QVERIFY((outerCentre - available.center()).manhattanLength() <= 2);
    }
};

QTEST_MAIN(TestTwips)
#include "tst_twips.moc"
