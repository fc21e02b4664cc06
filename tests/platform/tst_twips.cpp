#include <QtTest>

#include <QGuiApplication>
#include <QScreen>
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

    // No window starts with part of its frame outside the screen's available area.
    void windowsStartInsideTheScreen_data()
    {
        QTest::addColumn<QPoint>("wantedPx");
        QTest::addColumn<QPoint>("expectedPx"); // from the available area's right and bottom when negative
        QTest::newRow("inside: as asked") << QPoint(100, 200) << QPoint(100, 200);
        QTest::newRow("above the top") << QPoint(100, -3) << QPoint(100, 0);
        QTest::newRow("left of the screen") << QPoint(-50, 40) << QPoint(0, 40);
        QTest::newRow("past the right and bottom") << QPoint(100000, 100000) << QPoint(-1, -1);
    }
    void windowsStartInsideTheScreen()
    {
        QFETCH(QPoint, wantedPx);
        QFETCH(QPoint, expectedPx);
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget window;
        setClientSizeTwips(&window, 6570, 4935); // the save dialog: 438 x 329 px
        QCOMPARE(window.size(), QSize(438, 329));
        const QSize outer(438 + kFrameWidthPx, 329 + kFrameHeightPx);
        moveTwips(&window, pixelsToTwips(wantedPx.x()), pixelsToTwips(wantedPx.y()));
        const QPoint expected(expectedPx.x() < 0 ? available.right() + 1 - outer.width() : available.x() + expectedPx.x(),
                              expectedPx.y() < 0 ? available.bottom() + 1 - outer.height() : available.y() + expectedPx.y());
        QCOMPARE(window.pos(), expected);
    }

    // The save dialog centred on the main window at the top of the screen
    // would start 3 px above it: its frame is the taller of the two.
    void centringKeepsTheWindowOnTheScreen()
    {
        QWidget main;
        setOuterSizeTwips(&main, 9525, 5220);
        moveTwips(&main, 0, 0);
        QWidget dialog;
        setClientSizeTwips(&dialog, 6570, 4935);
        centreTwips(&dialog, QRect(positionTwips(&main), outerSizeTwips(&main)));
        QCOMPARE(dialog.pos(), QPoint((635 - 444) / 2, 0));
    }

    void aFramelessWindowIsItsClientArea()
    {
        QWidget splash(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
        setClientSizeTwips(&splash, 9240, 4410);
        QCOMPARE(outerSizeTwips(&splash), QSize(9240, 4410));
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
