#include <functional>
#include <memory>

#include <QtTest>

#include "DisplayFixtures.h"
#include "imaging/widgets/Ik5Disp.h"
#include "imaging/widgets/PanWindow.h"

using namespace imaging;
using namespace fixtures;

using DisplayCall = std::function<void(Ik5Disp &)>;
Q_DECLARE_METATYPE(DisplayCall)

class TestPanWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Ik5Disp> m_display;
    std::unique_ptr<StoredImages> m_images;

    Ik5Disp &display() { return *m_display; }
    display::PanWindow *pan() { return qobject_cast<display::PanWindow *>(m_display->panWindow()); }
    QPoint scroll() const { return {m_display->scrollX(), m_display->scrollY()}; }

    // What "Original Size" does with the display of a shown image.
    void openOriginalSize(QSize imageSize, double zoom = 1.0)
    {
        showImage(display(), m_images->add(solid(imageSize.width(), imageSize.height(), Qt::darkCyan)));
        clearDisplay(display());
        display().setSizeMode(Ik5Disp::kUnscaled);
        display().setZoom(zoom);
        redraw(display());
        display().setPanLeft(700);
        display().setPanTop(40);
        display().setPanCaption(QStringLiteral("夏の 海.jpg"));
        display().setPanSize(150);
        display().showPanWindow(-1);
    }

private slots:
    void init()
    {
        m_images = std::make_unique<StoredImages>();
        m_display = std::make_unique<Ik5Disp>();
        m_display->resize(kDisplaySide, kDisplaySide);
        m_display->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_display.get()));
    }

    void cleanup()
    {
        m_display.reset();
        m_images.reset();
    }

    void startsHiddenWithTheDesignCaption()
    {
        QVERIFY(pan());
        QVERIFY(pan()->isWindow());
        QVERIFY(pan()->windowFlags().testFlag(Qt::Tool));
        QVERIFY(pan()->isHidden());
        QCOMPARE(display().panCaption(), QStringLiteral("Pan Window"));
        QCOMPARE(pan()->windowTitle(), QStringLiteral("Pan Window"));
    }

    void takesCaptionPlaceAndSize_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("windowSize");
        QTest::newRow("landscape") << QSize(600, 400) << QSize(150, 100);
        QTest::newRow("portrait") << QSize(400, 600) << QSize(100, 150);
        QTest::newRow("small image, enlarged to the size") << QSize(40, 20) << QSize(150, 75);
    }
    void takesCaptionPlaceAndSize()
    {
        QFETCH(QSize, image);
        QFETCH(QSize, windowSize);
        openOriginalSize(image);
        QVERIFY(pan()->isVisible());
        QCOMPARE(pan()->windowTitle(), QStringLiteral("夏の 海.jpg"));
        QCOMPARE(pan()->frameGeometry().topLeft(), QPoint(700, 40));
        QCOMPARE(pan()->size(), windowSize);

        display().setPanSize(300);
        QCOMPARE(pan()->size(), windowSize * 2);
        display().setPanLeft(20);
        QCOMPARE(pan()->frameGeometry().topLeft(), QPoint(20, 40));
    }

    void shownOnlyWithAnUnscaledImage_data()
    {
        QTest::addColumn<DisplayCall>("change");
        QTest::addColumn<bool>("visible");
        QTest::newRow("zoom changed") << DisplayCall([](Ik5Disp &d) {
            d.setZoom(2.0);
            redraw(d);
        }) << true;
        QTest::newRow("back to fit") << DisplayCall([](Ik5Disp &d) {
            clearDisplay(d);
            d.setSizeMode(Ik5Disp::kFit);
            redraw(d);
        }) << false;
        QTest::newRow("switched off") << DisplayCall([](Ik5Disp &d) { d.showPanWindow(0); }) << false;
        QTest::newRow("display cleared") << DisplayCall([](imaging::Ik5Disp &d) { fixtures::clearDisplay(d); }) << false;
        QTest::newRow("cleared, then the next image shown") << DisplayCall([this](Ik5Disp &d) {
            clearDisplay(d);
            showImage(d, m_images->add(solid(500, 500, Qt::red)));
        }) << true;
        QTest::newRow("image released") << DisplayCall([](Ik5Disp &d) {
            ImageStore::instance().release(d.handle());
            redraw(d);
        }) << false;
        QTest::newRow("closed by the user, then the image dragged") << DisplayCall([this](Ik5Disp &d) {
            QVERIFY(pan()->close());
            d.setScrollX(10);
            redraw(d);
        }) << false;
        QTest::newRow("closed by the user, then shown by the program") << DisplayCall([this](Ik5Disp &d) {
            QVERIFY(pan()->close());
            d.showPanWindow(-1);
        }) << true;
        QTest::newRow("display hidden behind a slideshow")
            << DisplayCall([](Ik5Disp &d) { d.hide(); }) << false;
        QTest::newRow("display shown again") << DisplayCall([](Ik5Disp &d) {
            d.hide();
            d.show();
        }) << true;
    }
    void shownOnlyWithAnUnscaledImage()
    {
        QFETCH(DisplayCall, change);
        QFETCH(bool, visible);
        openOriginalSize(QSize(600, 400));
        QVERIFY(pan()->isVisible());
        change(display());
        QCOMPARE(pan()->isVisible(), visible);
    }

    void frameMarksTheVisiblePart_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPoint>("scrollTo");
        QTest::addColumn<QRectF>("marker");
        // 600 x 400 pixels in a 150 x 100 window: a quarter of a pixel each.
        QTest::newRow("zoom 1, centred") << 1.0 << QPoint(-1, -1) << QRectF(37.5, 12.5, 75, 75);
        QTest::newRow("zoom 1, scrolled to the top-left") << 1.0 << QPoint(0, 0) << QRectF(0, 0, 75, 75);
        QTest::newRow("zoom 2, bottom-right") << 2.0 << QPoint(9999, 9999)
                                              << QRectF(112.5, 62.5, 37.5, 37.5);
        QTest::newRow("zoom 1/2: the whole image") << 0.5 << QPoint(-1, -1) << QRectF(0, 0, 150, 100);
    }
    void frameMarksTheVisiblePart()
    {
        QFETCH(double, zoom);
        QFETCH(QPoint, scrollTo);
        QFETCH(QRectF, marker);
        openOriginalSize(QSize(600, 400), zoom);
        if (scrollTo != QPoint(-1, -1)) {
            display().setScrollX(scrollTo.x());
            display().setScrollY(scrollTo.y());
            redraw(display());
        }
        QCOMPARE(pan()->markerRect(), marker);
    }

    void draggingScrollsTheDisplay_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("moveTo");
        QTest::addColumn<QPoint>("scroll");
        // One window pixel is four image pixels. At zoom 1 the frame starts
        // at (37.5, 12.5, 75, 75) with scroll (150, 50); at zoom 2 it is
        // (56.25, 31.25, 37.5, 37.5) with scroll (450, 250).
        QTest::newRow("grab the frame and move it")
            << 1.0 << QPoint(75, 50) << QPoint(85, 55) << QPoint(190, 70);
        QTest::newRow("grab off-centre, move it")
            << 1.0 << QPoint(45, 20) << QPoint(40, 30) << QPoint(130, 90);
        QTest::newRow("press beside the frame: centred there")
            << 2.0 << QPoint(20, 20) << QPoint(20, 20) << QPoint(10, 10);
        QTest::newRow("towards a corner: stops at the edge")
            << 1.0 << QPoint(140, 90) << QPoint(149, 99) << QPoint(300, 100);
        QTest::newRow("dragged far beyond the window")
            << 2.0 << QPoint(75, 50) << QPoint(-200, -200) << QPoint(0, 0);
    }
    void draggingScrollsTheDisplay()
    {
        QFETCH(double, zoom);
        QFETCH(QPoint, press);
        QFETCH(QPoint, moveTo);
        QFETCH(QPoint, scroll);
        openOriginalSize(QSize(600, 400), zoom);
        QTest::mousePress(pan(), Qt::LeftButton, {}, press);
        QTest::mouseMove(pan(), moveTo);
        QTest::mouseRelease(pan(), Qt::LeftButton, {}, moveTo);
        QCOMPARE(this->scroll(), scroll);
        QCOMPARE(display().imageRect().topLeft(), kContentsOrigin - scroll);
        QCOMPARE(pan()->markerRect().topLeft(), QPointF(scroll) / zoom / 4.0);
    }
};

QTEST_MAIN(TestPanWindow)
#include "tst_panwindow.moc"
