#include <functional>
#include <memory>

#include <QtTest>

#include "DisplayFixtures.h"
#include "base/Error.h"
#include "imaging/widgets/Ik5Disp.h"

using namespace imaging;
using namespace fixtures;

using DisplayCall = std::function<void(Ik5Disp &)>;
Q_DECLARE_METATYPE(DisplayCall)

class TestIk5Disp : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Ik5Disp> m_display;
    std::unique_ptr<StoredImages> m_images;
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_photo;

    Ik5Disp &display() { return *m_display; }
    QImage shot() { return m_display->grab().toImage(); }
    QPoint contentsCentre() const { return kContentsOrigin + QPoint(150, 150); }

    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(m_display.get(), Qt::LeftButton, {}, from);
        QTest::mouseMove(m_display.get(), (from + to) / 2);
        QTest::mouseMove(m_display.get(), to);
        QTest::mouseRelease(m_display.get(), Qt::LeftButton, {}, to);
    }

private slots:
    void initTestCase()
    {
        // A dropped photo in a folder with a Japanese name and spaces.
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("写真 フォルダ")));
        m_photo = m_folder->filePath(QStringLiteral("写真 フォルダ/夏の 海.jpg"));
        QFile file(m_photo);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

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

    void fitDrawsTheWholeImageCentred_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("landscape") << QSize(600, 400) << QRect(2, 52, 300, 200);
        QTest::newRow("portrait") << QSize(400, 600) << QRect(52, 2, 200, 300);
        QTest::newRow("small, not enlarged") << QSize(100, 60) << QRect(102, 122, 100, 60);
    }
    void fitDrawsTheWholeImageCentred()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, placed);
        showImage(display(), m_images->add(quarters(size.width(), size.height())));
        QCOMPARE(display().imageRect(), placed);

        const QImage picture = shot();
        const int qx = placed.width() / 4;
        const int qy = placed.height() / 4;
        QCOMPARE(QColor(picture.pixel(placed.topLeft() + QPoint(qx, qy))), QColor(Qt::red));
        QCOMPARE(QColor(picture.pixel(placed.topRight() + QPoint(-qx, qy))), QColor(Qt::green));
        QCOMPARE(QColor(picture.pixel(placed.bottomLeft() + QPoint(qx, -qy))), QColor(Qt::blue));
        QCOMPARE(QColor(picture.pixel(placed.bottomRight() + QPoint(-qx, -qy))), QColor(Qt::yellow));
        QCOMPARE(QColor(picture.pixel(kContentsOrigin + QPoint(1, 1))), display().backColor());
    }

    void unscaledDrawsTheScrolledPartAtTheZoom_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QPoint>("clamped");
        QTest::addColumn<QPoint>("viewPoint");
        QTest::addColumn<QPoint>("imagePoint");
        // A 200 x 200 image in the 300 x 300 view.
        QTest::newRow("zoom 2 within range") << 2.0 << QPoint(100, 60) << QPoint(100, 60) << QPoint(0, 0)
                                             << QPoint(50, 30);
        QTest::newRow("zoom 2, inner point") << 2.0 << QPoint(100, 60) << QPoint(100, 60)
                                             << QPoint(151, 151) << QPoint(125, 105);
        QTest::newRow("zoom 2 beyond the right, above the top")
            << 2.0 << QPoint(900, -20) << QPoint(100, 0) << QPoint(0, 0) << QPoint(50, 0);
        QTest::newRow("zoom 4") << 4.0 << QPoint(300, 500) << QPoint(300, 500) << QPoint(0, 0)
                                << QPoint(75, 125);
        QTest::newRow("zoom 1 fits: centred, scroll ignored")
            << 1.0 << QPoint(30, 30) << QPoint(0, 0) << QPoint(50, 50) << QPoint(0, 0);
    }
    void unscaledDrawsTheScrolledPartAtTheZoom()
    {
        QFETCH(double, zoom);
        QFETCH(QPoint, scroll);
        QFETCH(QPoint, clamped);
        QFETCH(QPoint, viewPoint);
        QFETCH(QPoint, imagePoint);
        display().setSizeMode(Ik5Disp::kUnscaled);
        display().setZoom(zoom);
        showImage(display(), m_images->add(coordinates(200, 200)));
        display().setScrollX(scroll.x());
        display().setScrollY(scroll.y());
        redraw(display());
        QCOMPARE(QPoint(display().scrollX(), display().scrollY()), clamped);
        QCOMPARE(imagePixelAt(shot(), kContentsOrigin + viewPoint), imagePoint);
    }

    void zoomedOutDrawsTheScrolledPart()
    {
        // 1000 x 1000 at 1/2 is 500 x 500: scrolled to the end, the quarters
        // meet at view (50, 50).
        display().setSizeMode(Ik5Disp::kUnscaled);
        display().setZoom(0.5);
        showImage(display(), m_images->add(quarters(1000, 1000)));
        display().setScrollX(9999);
        display().setScrollY(9999);
        redraw(display());
        QCOMPARE(QPoint(display().scrollX(), display().scrollY()), QPoint(200, 200));
        const QImage picture = shot();
        QCOMPARE(QColor(picture.pixel(kContentsOrigin + QPoint(20, 20))), QColor(Qt::red));
        QCOMPARE(QColor(picture.pixel(kContentsOrigin + QPoint(100, 20))), QColor(Qt::green));
        QCOMPARE(QColor(picture.pixel(kContentsOrigin + QPoint(20, 100))), QColor(Qt::blue));
        QCOMPARE(QColor(picture.pixel(kContentsOrigin + QPoint(299, 299))), QColor(Qt::yellow));
    }

    void switchingToUnscaledKeepsTheCentre()
    {
        // As the display panel does: clear, set the mode, show.
        showImage(display(), m_images->add(coordinates(250, 250)));
        clearDisplay(display());
        display().setSizeMode(Ik5Disp::kUnscaled);
        display().setZoom(2.0);
        redraw(display());
        QCOMPARE(QPoint(display().scrollX(), display().scrollY()), QPoint(100, 100));
        QCOMPARE(imagePixelAt(shot(), contentsCentre()), QPoint(125, 125));
    }

    void zoomKeepsTheAnchoredPointInPlace_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<QPoint>("anchor");
        QTest::newRow("2 -> 4 around a pressed point") << 2.0 << 4.0 << QPoint(60, 80);
        QTest::newRow("4 -> 2 around a pressed point") << 4.0 << 2.0 << QPoint(230, 40);
        QTest::newRow("2 -> 4 without anchor: the centre stays") << 2.0 << 4.0 << QPoint(0, 0);
    }
    void zoomKeepsTheAnchoredPointInPlace()
    {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(QPoint, anchor);
        display().setSizeMode(Ik5Disp::kUnscaled);
        display().setZoom(from);
        showImage(display(), m_images->add(coordinates(250, 250)));
        const QPoint probe = anchor.isNull() ? contentsCentre() : anchor;
        const QPoint before = imagePixelAt(shot(), probe);

        // The zoom options' order: zoom, step 1, anchor, step 2, anchor reset.
        display().setZoom(to);
        display().setStep(Ik5Disp::kStepPrepare);
        display().perform();
        display().setZoomAnchorX(anchor.x());
        display().setZoomAnchorY(anchor.y());
        redraw(display());
        display().setZoomAnchorX(0);
        display().setZoomAnchorY(0);
        QCOMPARE(imagePixelAt(shot(), probe), before);
    }

    void theWindowsDragHandlerMovesTheImageWithThePointer()
    {
        display().setSizeMode(Ik5Disp::kUnscaled);
        showImage(display(), m_images->add(coordinates(250, 250)));
        // The main window's handlers of the pointer events.
        QPoint origin;
        connect(&display(), &Ik5Disp::pointerPressed, this, [&](int x, int y) {
            origin = QPoint(display().scrollX() + x, display().scrollY() + y);
        });
        connect(&display(), &Ik5Disp::pointerMoved, this, [&](int x, int y) {
            display().setScrollX(origin.x() - x);
            display().setScrollY(origin.y() - y);
            display().perform();
        });
        display().setZoom(2.0);
        redraw(display());
        const QPoint grabbed(100, 100);
        const QPoint released(140, 120);
        const QPoint imagePoint = imagePixelAt(shot(), grabbed);
        const QPoint scroll(display().scrollX(), display().scrollY());

        drag(grabbed, released);
        QCOMPARE(QPoint(display().scrollX(), display().scrollY()), scroll - (released - grabbed));
        QCOMPARE(imagePixelAt(shot(), released), imagePoint);

        drag(QPoint(10, 10), QPoint(300, 300));
        QCOMPARE(QPoint(display().scrollX(), display().scrollY()), QPoint(0, 0));
    }

    void pointerEventsFromRealMouseEvents_data()
    {
        QTest::addColumn<int>("sizeMode");
        QTest::addColumn<bool>("selecting");
        QTest::addColumn<bool>("withImage");
        QTest::addColumn<QList<QPoint>>("anchors");
        const QList<QPoint> pressAndRelease{QPoint(10, 20), QPoint(30, 45)};
        QTest::newRow("fit: no zoom anchor") << Ik5Disp::kFit << false << true << QList<QPoint>();
        QTest::newRow("unscaled: anchor at press and release")
            << Ik5Disp::kUnscaled << false << true << pressAndRelease;
        QTest::newRow("unscaled while selecting: no anchor")
            << Ik5Disp::kUnscaled << true << true << QList<QPoint>();
        QTest::newRow("unscaled, empty display: no anchor")
            << Ik5Disp::kUnscaled << false << false << QList<QPoint>();
    }
    void pointerEventsFromRealMouseEvents()
    {
        QFETCH(int, sizeMode);
        QFETCH(bool, selecting);
        QFETCH(bool, withImage);
        QFETCH(QList<QPoint>, anchors);
        display().setSizeMode(sizeMode);
        display().setSelectionMode(selecting);
        if (withImage)
            showImage(display(), m_images->add(solid(800, 800, Qt::gray)));
        QSignalSpy pressed(&display(), &Ik5Disp::pointerPressed);
        QSignalSpy moved(&display(), &Ik5Disp::pointerMoved);
        QSignalSpy released(&display(), &Ik5Disp::pointerReleased);
        QSignalSpy anchored(&display(), &Ik5Disp::zoomAnchor);

        QTest::mousePress(&display(), Qt::LeftButton, {}, QPoint(10, 20));
        QTest::mouseMove(&display(), QPoint(30, 45));
        QTest::mouseRelease(&display(), Qt::LeftButton, {}, QPoint(30, 45));
        QTest::mouseClick(&display(), Qt::RightButton, {}, QPoint(50, 50));

        QCOMPARE(pressed.count(), 1);
        QCOMPARE(pressed.at(0), QVariantList({10, 20}));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0), QVariantList({30, 45}));
        QCOMPARE(released.count(), 1);
        QList<QPoint> reported;
        for (const QVariantList &args : anchored)
            reported << QPoint(args.at(0).toInt(), args.at(1).toInt());
        QCOMPARE(reported, anchors);
    }

    void clickedEmptyOnlyWhileNoImageIsShown_data()
    {
        QTest::addColumn<DisplayCall>("state");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<bool>("emitted");
        const QPoint inside(40, 40);
        QTest::newRow("never given an image") << DisplayCall([](Ik5Disp &) {}) << inside << true;
        QTest::newRow("handle 0 shown") << DisplayCall([](Ik5Disp &d) { showImage(d, 0); }) << inside << true;
        QTest::newRow("image shown") << DisplayCall([this](Ik5Disp &d) {
            showImage(d, m_images->add(solid(10, 10, Qt::red)));
        }) << inside << false;
        QTest::newRow("image shown, then cleared") << DisplayCall([this](Ik5Disp &d) {
            showImage(d, m_images->add(solid(10, 10, Qt::red)));
            clearDisplay(d);
        }) << inside << true;
        QTest::newRow("image shown, then released") << DisplayCall([](Ik5Disp &d) {
            const Handle handle = ImageStore::instance().add(Image{solid(10, 10, Qt::red), 96, 96});
            showImage(d, handle);
            ImageStore::instance().release(handle);
        }) << inside << true;
        QTest::newRow("released outside the display") << DisplayCall([](Ik5Disp &) {})
                                                       << QPoint(400, 40) << false;
    }
    void clickedEmptyOnlyWhileNoImageIsShown()
    {
        QFETCH(DisplayCall, state);
        QFETCH(QPoint, releaseAt);
        QFETCH(bool, emitted);
        state(display());
        QSignalSpy clicked(&display(), &Ik5Disp::clickedEmpty);
        QTest::mousePress(&display(), Qt::LeftButton, {}, QPoint(40, 40));
        QTest::mouseRelease(&display(), Qt::LeftButton, {}, releaseAt);
        QCOMPARE(clicked.count(), emitted ? 1 : 0);
    }

    void selectionFromRealDragsIsInImagePixels_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QRect>("selection"); // left, top, right, bottom as x1, y1, x2, y2
        // A 600 x 400 image fitted at half size: drawn at (2, 52) to (302, 252).
        const QRect middle(QPoint(20, 20), QPoint(220, 220));
        QTest::newRow("down and right") << QPoint(12, 62) << QPoint(112, 162) << middle;
        QTest::newRow("up and left") << QPoint(112, 162) << QPoint(12, 62) << middle;
        QTest::newRow("down and left") << QPoint(112, 62) << QPoint(12, 162) << middle;
        QTest::newRow("beyond every edge of the image")
            << QPoint(0, 30) << QPoint(303, 290) << QRect(QPoint(0, 0), QPoint(600, 400));
        QTest::newRow("from above the image into it")
            << QPoint(150, 10) << QPoint(52, 102) << QRect(QPoint(100, 0), QPoint(296, 100));
        QTest::newRow("a click without travel: no frame")
            << QPoint(50, 100) << QPoint(50, 100) << QRect(QPoint(0, 0), QPoint(0, 0));
        QTest::newRow("only in the band above the image: no frame")
            << QPoint(20, 10) << QPoint(200, 40) << QRect(QPoint(0, 0), QPoint(0, 0));
    }
    void selectionFromRealDragsIsInImagePixels()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QRect, selection);
        showImage(display(), m_images->add(solid(600, 400, Qt::blue)));
        display().setSelectionMode(true);
        const auto reported = [this] {
            return QRect(QPoint(display().selLeft(), display().selTop()),
                         QPoint(display().selRight(), display().selBottom()));
        };
        QTest::mousePress(&display(), Qt::LeftButton, {}, from);
        QTest::mouseMove(&display(), to);
        QCOMPARE(reported(), selection); // already while dragging
        QTest::mouseRelease(&display(), Qt::LeftButton, {}, to);
        QCOMPARE(reported(), selection);
    }

    void selectionFrameIsDrawnOnlyWhileSet()
    {
        showImage(display(), m_images->add(solid(600, 400, Qt::blue)));
        const QPoint onLeftEdge(12, 100);
        drag(QPoint(12, 62), QPoint(112, 162));
        QCOMPARE(display().selLeft(), 0); // selection mode off: dragging draws no frame
        QCOMPARE(display().selRight(), 0);
        QCOMPARE(QColor(shot().pixel(onLeftEdge)), QColor(Qt::blue));

        display().setSelectionMode(true);
        drag(QPoint(12, 62), QPoint(112, 162));
        QCOMPARE(display().selRight(), 220);
        QVERIFY(QColor(shot().pixel(onLeftEdge)) != QColor(Qt::blue));

        display().setSelLeft(0);
        display().setSelTop(0);
        display().setSelRight(0);
        display().setSelBottom(0);
        QCOMPARE(QColor(shot().pixel(onLeftEdge)), QColor(Qt::blue));
    }

    void noImageDrawsOnlyTheBackground_data()
    {
        QTest::addColumn<DisplayCall>("state");
        QTest::addColumn<bool>("showsImage");
        const auto released = [](bool redrawn) {
            return DisplayCall([redrawn](Ik5Disp &d) {
                const Handle handle = ImageStore::instance().add(Image{solid(300, 300, Qt::red), 96, 96});
                showImage(d, handle);
                ImageStore::instance().release(handle);
                if (redrawn)
                    redraw(d);
            });
        };
        QTest::newRow("released, then redrawn") << released(true) << false;
        QTest::newRow("released, not redrawn") << released(false) << false;
        QTest::newRow("handle 0") << DisplayCall([](Ik5Disp &d) { showImage(d, 0); }) << false;
        QTest::newRow("cleared") << DisplayCall([this](Ik5Disp &d) {
            showImage(d, m_images->add(solid(300, 300, Qt::red)));
            clearDisplay(d);
        }) << false;
        QTest::newRow("cleared, then shown again") << DisplayCall([this](Ik5Disp &d) {
            showImage(d, m_images->add(solid(300, 300, Qt::red)));
            clearDisplay(d);
            redraw(d);
        }) << true;
    }
    void noImageDrawsOnlyTheBackground()
    {
        QFETCH(DisplayCall, state);
        QFETCH(bool, showsImage);
        display().setBackColor(QColor(192, 192, 255));
        state(display());
        QCOMPARE(display().isShowingImage(), showsImage);
        QCOMPARE(display().imageRect().isEmpty(), !showsImage);
        const QImage picture = shot();
        const QColor expected = showsImage ? QColor(Qt::red) : QColor(192, 192, 255);
        for (const QPoint p : {QPoint(2, 2), contentsCentre(), QPoint(301, 301)})
            QCOMPARE(QColor(picture.pixel(p)), expected);
    }

    void aNewHandleIsShownByStepTwoAlone()
    {
        // The adjustment dialogs' redraw: set the handle, clear, fit, step 2.
        showImage(display(), m_images->add(solid(300, 300, Qt::red)));
        display().setHandle(m_images->add(solid(300, 300, Qt::blue)));
        clearDisplay(display());
        display().setSizeMode(Ik5Disp::kFit);
        redraw(display());
        QCOMPARE(QColor(shot().pixel(contentsCentre())), QColor(Qt::blue));
    }

    void dragEnterAcceptsOnlyLocalFiles_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        const QUrl file = QUrl::fromLocalFile(m_photo);
        const QUrl folder = QUrl::fromLocalFile(m_folder->path());
        QTest::newRow("a local file") << QList<QUrl>{file} << QString() << true;
        QTest::newRow("a folder, then a file") << QList<QUrl>{folder, file} << QString() << true;
        QTest::newRow("only a folder") << QList<QUrl>{folder} << QString() << false;
        QTest::newRow("a web address")
            << QList<QUrl>{QUrl(QStringLiteral("https://example.com/a.jpg"))} << QString() << false;
        QTest::newRow("plain text naming a file") << QList<QUrl>() << m_photo << false;
    }
    void dragEnterAcceptsOnlyLocalFiles()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QMimeData mime;
        if (!urls.isEmpty())
            mime.setUrls(urls);
        if (!text.isEmpty())
            mime.setText(text);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(&display(), &enter);
        QCOMPARE(enter.isAccepted(), accepted);
    }

    void droppingFilesReportsTheFirstFile()
    {
        const QString second = m_folder->filePath(QStringLiteral("写真 フォルダ/b.png"));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(m_folder->path()), QUrl::fromLocalFile(m_photo),
                      QUrl::fromLocalFile(second)});
        QSignalSpy dropped(&display(), &Ik5Disp::fileDropped);
        // Qt hands a drop to the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&display(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        drop.setAccepted(false);
        QApplication::sendEvent(&display(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.at(0).at(0).toString(), QDir::toNativeSeparators(m_photo));
    }

    void bringToFrontPutsTheDisplayOverTheSlideshow()
    {
        // The slideshow control shares the display's place in the main window.
        QWidget window;
        auto *shared = new Ik5Disp(&window);
        auto *slideshow = new QWidget(&window);
        shared->setGeometry(0, 0, 100, 100);
        slideshow->setGeometry(0, 0, 100, 100);
        QCOMPARE(window.childAt(50, 50), slideshow);
        shared->bringToFront();
        QCOMPARE(window.childAt(50, 50), shared);
    }

    void invalidValuesAreRefused_data()
    {
        QTest::addColumn<DisplayCall>("call");
        QTest::newRow("step 3") << DisplayCall([](Ik5Disp &d) { d.setStep(3); });
        QTest::newRow("step -1") << DisplayCall([](Ik5Disp &d) { d.setStep(-1); });
        QTest::newRow("size mode 1") << DisplayCall([](Ik5Disp &d) { d.setSizeMode(1); });
        QTest::newRow("zoom 0") << DisplayCall([](Ik5Disp &d) { d.setZoom(0.0); });
        QTest::newRow("zoom not a number") << DisplayCall([](Ik5Disp &d) { d.setZoom(qQNaN()); });
        QTest::newRow("zoom 1000") << DisplayCall([](Ik5Disp &d) { d.setZoom(1000.0); });
        QTest::newRow("pan size 0") << DisplayCall([](Ik5Disp &d) { d.setPanSize(0); });
        QTest::newRow("pan size -150") << DisplayCall([](Ik5Disp &d) { d.setPanSize(-150); });
    }
    void invalidValuesAreRefused()
    {
        QFETCH(DisplayCall, call);
        try {
            call(display());
            QFAIL("expected an error");
        } catch (const Error &error) {
            QCOMPARE(error.kind(), Error::Kind::InvalidArgument);
        }
        QCOMPARE(display().step(), Ik5Disp::kStepClear);
        QCOMPARE(display().sizeMode(), Ik5Disp::kFit);
        QCOMPARE(display().zoom(), 1.0);
        QCOMPARE(display().panSize(), 150);
    }
};

QTEST_MAIN(TestIk5Disp)
#include "tst_ik5disp.moc"
