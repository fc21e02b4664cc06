#include <QtTest>

#include "AdjustTesting.h"
#include "adjust/frmAkarusa.h"
#include "imaging/core/Adjust.h"
#include "platform/Twips.h"

using namespace adjusttest;
using imaging::Ik5Disp;

namespace {

// Black, white and two colours whose channels all lie below 96 or above
// 159, where the steepest contrast clamps them to 0 or 255.
const QImage kSource = swatch({qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(90, 170, 200), qRgb(64, 20, 230)});

QImage filled(QImage image, QRgb colour)
{
    image.fill(colour);
    return image;
}

} // namespace

class TestBrightnessContrast : public DialogTestBase
{
    Q_OBJECT

private:
    frmviewer *m_viewer = nullptr;
    frmAkarusa *m_dialog = nullptr;
    imaging::Handle m_working = 0;

    void open()
    {
        m_viewer->Command14_Click();
        m_dialog = forms::get<frmAkarusa>();
    }

    QImage preview() const { return pixelsOf(m_dialog->Ik5Disp1->handle()); }

private slots:
    void init()
    {
        startTest();
        m_viewer = viewerShowing(kSource);
        m_working = m_viewer->Ik5Disp1->handle();
        m_viewer->Image1_Click();
        m_viewer->Timer6_Timer(); // the adjustments panel
    }

    void cleanup() { endTest(); }

    void opensOnTheMainWindowShowingTheWorkingImage()
    {
        platform::moveTwips(m_viewer, 1500, 1200);
        open();
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(platform::positionTwips(m_dialog), QPoint(1500, 1200));
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("明るさ  コントラスト"));
        QCOMPARE(m_dialog->size(), platform::twipsRect(0, 0, 4785, 4800).size());
        QCOMPARE(m_dialog->Ik5Disp1->handle(), m_working);
        QVERIFY(m_dialog->Ik5Disp1->isShowingImage());
        QCOMPARE(m_dialog->Ik5Disp1->sizeMode(), Ik5Disp::kFit);
        QCOMPARE(m_dialog->Label3->text(), QStringLiteral("0"));
        QVERIFY(!m_dialog->Command2->isEnabled());
        QCOMPARE(m_dialog->HScroll1->value(), 0);
        QCOMPARE(m_dialog->HScroll2->value(), 0);
        QVERIFY(m_dialog->Ik5Effect1->hasCopy());
        QCOMPARE(imageCount(), m_imagesBefore + 1); // nothing made yet
    }

    void doesNotOpenWithoutAnImage_data()
    {
        QTest::addColumn<bool>("released");
        QTest::newRow("display holds no image") << false;
        QTest::newRow("another window released the image") << true;
    }

    void doesNotOpenWithoutAnImage()
    {
        QFETCH(bool, released);
        if (released)
            imaging::ImageStore::instance().release(m_working);
        else
            m_viewer->replaceWorkingImage(0);
        m_viewer->Command14_Click();
        QVERIFY(!forms::isLoaded<frmAkarusa>());
    }

    void barsAtTheEndsOfTheirRanges_data()
    {
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("contrast");
        QTest::addColumn<QImage>("expected");

        QTest::newRow("brightness 255 saturates every channel") << 255 << 0 << filled(kSource, qRgb(255, 255, 255));
        QTest::newRow("brightness -255 blackens every channel") << -255 << 0 << filled(kSource, qRgb(0, 0, 0));
        QTest::newRow("brightness 40 adds 40, clamped")
            << 40 << 0 << swatch({qRgb(40, 40, 40), qRgb(255, 255, 255), qRgb(130, 210, 240), qRgb(104, 60, 255)});
        QTest::newRow("contrast -30 flattens to mid-grey") << 0 << -30 << filled(kSource, qRgb(128, 128, 128));
        QTest::newRow("contrast 30 pushes every channel to its end")
            << 0 << 30 << swatch({qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 255, 255), qRgb(0, 0, 255)});
    }

    void barsAtTheEndsOfTheirRanges()
    {
        QFETCH(int, brightness);
        QFETCH(int, contrast);
        QFETCH(QImage, expected);
        open();
        m_dialog->HScroll1->setValue(brightness);
        m_dialog->HScroll2->setValue(contrast);
        QCOMPARE(preview(), expected);
        QCOMPARE(m_dialog->Label3->text(), QString::number(brightness));
        QCOMPARE(m_dialog->brightness, brightness);
        QCOMPARE(m_dialog->contrast, contrast / 10.0);
        QCOMPARE(m_viewer->Ik5Disp1->handle(), m_working); // the main window is untouched
        QVERIFY(!m_dialog->Command2->isEnabled());        // moves alone never enable "決定"
    }

    // With the brightness at 40, contrast moves work on the preview they
    // find, so 0.5 and then 1.0 are applied on top of each other.
    void contrastAccumulatesWhileTheBrightnessIsSet()
    {
        open();
        m_dialog->HScroll1->setValue(40);
        m_dialog->HScroll2->setValue(5);
        m_dialog->HScroll2->setValue(10);
        const QImage brightened = imaging::adjustBrightness(kSource, 40, 40, 40);
        const QImage expected =
            imaging::adjustContrast(imaging::adjustContrast(brightened, 0.5, 0.5, 0.5), 1.0, 1.0, 1.0);
        QCOMPARE(preview(), expected);

        // The brightness bar starts again from the image as it was at opening.
        m_dialog->HScroll1->setValue(41);
        QCOMPARE(preview(), imaging::adjustBrightness(kSource, 41, 41, 41));
    }

    // Brightness back at 0: every contrast move starts from the working image.
    void contrastStartsFromTheWorkingImageWhileTheBrightnessIsZero()
    {
        open();
        m_dialog->HScroll1->setValue(40);
        m_dialog->HScroll1->setValue(0);
        QCOMPARE(m_dialog->Label3->text(), QStringLiteral("0"));
        m_dialog->HScroll2->setValue(10);
        m_dialog->HScroll2->setValue(20);
        QCOMPARE(preview(), imaging::adjustContrast(kSource, 2.0, 2.0, 2.0));
        QCOMPARE(m_dialog->Ik5Effect1->source(), m_working);
    }

    void previewAppliesBothValuesToTheWorkingImage()
    {
        open();
        m_dialog->HScroll1->setValue(40);
        m_dialog->HScroll2->setValue(5);
        m_dialog->HScroll2->setValue(10); // the preview now carries 0.5 and 1.0
        EffectWatch watch(m_dialog->Ik5Effect1);
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        const QImage once = imaging::adjustContrast(imaging::adjustBrightness(kSource, 40, 40, 40), 1.0, 1.0, 1.0);
        QCOMPARE(preview(), once);
        QVERIFY(m_dialog->Command2->isEnabled());
        const QString status = kFileName + QStringLiteral("処理中");
        QCOMPARE(watch.statuses(), (QStringList{status, status}));
        QVERIFY(!forms::isLoaded<Form2>());

        // A second preview starts again from the unchanged working image.
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        QCOMPARE(preview(), once);
        QCOMPARE(m_viewer->Ik5Disp1->handle(), m_working);
    }

    void previewAtZeroStillRunsBothCalls()
    {
        open();
        EffectWatch watch(m_dialog->Ik5Effect1);
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        QCOMPARE(watch.calls(), 2);
        QVERIFY(m_dialog->Ik5Disp1->handle() != m_working);
        QCOMPARE(preview(), kSource);
        QVERIFY(m_dialog->Command2->isEnabled());
    }

    void resetAfterMovingBothBars()
    {
        open();
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        m_dialog->HScroll1->setValue(-60);
        m_dialog->HScroll2->setValue(-7);
        m_dialog->Command3->click();
        QCOMPARE(m_dialog->HScroll1->value(), 0);
        QCOMPARE(m_dialog->HScroll2->value(), 0);
        QCOMPARE(m_dialog->Label3->text(), QStringLiteral("0"));
        QCOMPARE(m_dialog->brightness, 0);
        QCOMPARE(m_dialog->contrast, 0.0);
        QCOMPARE(preview(), kSource); // the working image with contrast 0
        QVERIFY(m_dialog->Command2->isEnabled()); // reset keeps "決定" as it was
    }

    void resetWithBothBarsAtZeroOnlyShowsTheWorkingImage()
    {
        open();
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        EffectWatch watch(m_dialog->Ik5Effect1);
        m_dialog->Command3->click();
        QCOMPARE(watch.calls(), 0);
        QCOMPARE(m_dialog->Ik5Disp1->handle(), m_working);
    }

    // "決定" takes what the preview shows, also a state reached by moves
    // after the preview; the main display switches to fit; nothing the
    // dialog made is left behind.
    void applyPutsThePreviewIntoTheMainWindow()
    {
        m_viewer->Option2->setChecked(true); // unscaled
        open();
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        m_dialog->HScroll1->setValue(40);
        const imaging::Handle shown = m_dialog->Ik5Disp1->handle();
        QTest::mouseClick(m_dialog->Command2, Qt::LeftButton);

        QCOMPARE(m_viewer->Ik5Disp1->handle(), shown);
        QCOMPARE(pixelsOf(shown), imaging::adjustBrightness(kSource, 40, 40, 40));
        QCOMPARE(m_viewer->Ik5Disp1->sizeMode(), Ik5Disp::kFit);
        QVERIFY(m_viewer->Ik5Disp1->isShowingImage());
        QVERIFY(!imaging::ImageStore::instance().contains(m_working));
        QCOMPARE(imageCount(), m_imagesBefore + 1);
        QVERIFY(m_viewer->Frame4->isHidden());
        QVERIFY(!forms::isLoaded<frmAkarusa>());
    }

    void applyAfterAResetThatMovedNothingKeepsTheWorkingImage()
    {
        open();
        m_dialog->Command3->click();
        QTest::mouseClick(m_dialog->Command2, Qt::LeftButton); // disabled: nothing
        QVERIFY(forms::isLoaded<frmAkarusa>());
        m_dialog->Command2_Click();
        QCOMPARE(m_viewer->Ik5Disp1->handle(), m_working);
        QVERIFY(m_viewer->Ik5Disp1->isShowingImage());
        QCOMPARE(imageCount(), m_imagesBefore + 1);
        QVERIFY(!forms::isLoaded<frmAkarusa>());
    }

    void cancelPutsBackAFreshCopy_data()
    {
        QTest::addColumn<bool>("moved");
        QTest::newRow("right after opening") << false;
        QTest::newRow("after previews and moves") << true;
    }

    void cancelPutsBackAFreshCopy()
    {
        QFETCH(bool, moved);
        m_viewer->Option2->setChecked(true);
        open();
        if (moved) {
            QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
            m_dialog->HScroll1->setValue(200);
            m_dialog->HScroll2->setValue(-20);
        }
        QTest::mouseClick(m_dialog->Command4, Qt::LeftButton);
        const imaging::Handle shown = m_viewer->Ik5Disp1->handle();
        QVERIFY(shown != m_working);
        QCOMPARE(pixelsOf(shown), kSource);
        QCOMPARE(m_viewer->Ik5Disp1->sizeMode(), Ik5Disp::kFit);
        QVERIFY(!imaging::ImageStore::instance().contains(m_working));
        QCOMPARE(imageCount(), m_imagesBefore + 1);
        QVERIFY(m_viewer->Frame4->isHidden());
        QVERIFY(!forms::isLoaded<frmAkarusa>());
    }

    void closeBoxLeavesTheWorkingImage()
    {
        open();
        m_dialog->HScroll1->setValue(90);
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        m_dialog->close();
        QVERIFY(!forms::isLoaded<frmAkarusa>());
        QCOMPARE(m_viewer->Ik5Disp1->handle(), m_working);
        QCOMPARE(imageCount(), m_imagesBefore + 1);
    }

    // Another window replaced the working image (and released the one the
    // dialog opened with) while the dialog was open.
    void replacedWhileOpen_data()
    {
        QTest::addColumn<bool>("movedFirst");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("apply, preview was the released image: nothing applied") << false << false;
        QTest::newRow("apply, preview made before: it is applied") << true << false;
        QTest::newRow("cancel: the newer image stays") << false << true;
        QTest::newRow("cancel after moves: the newer image stays") << true << true;
    }

    void replacedWhileOpen()
    {
        QFETCH(bool, movedFirst);
        QFETCH(bool, cancel);
        open();
        if (movedFirst)
            m_dialog->HScroll1->setValue(40);
        const imaging::Handle preview = m_dialog->Ik5Disp1->handle();
        const QImage newer = numbered(3, 3);
        replacedElsewhere(m_viewer, newer);
        const imaging::Handle replacement = m_viewer->Ik5Disp1->handle();

        if (cancel)
            m_dialog->Command4_Click();
        else
            m_dialog->Command2_Click();

        const bool applied = movedFirst && !cancel;
        QCOMPARE(m_viewer->Ik5Disp1->handle(), applied ? preview : replacement);
        QVERIFY(m_viewer->Ik5Disp1->isShowingImage());
        QCOMPARE(pixelsOf(m_viewer->Ik5Disp1->handle()),
                 applied ? imaging::adjustBrightness(kSource, 40, 40, 40) : newer);
        QCOMPARE(imageCount(), m_imagesBefore + 1);
        QVERIFY(!forms::isLoaded<frmAkarusa>());
    }

    // Another window released the working image and left its handle in the
    // main display: it counts as no image, silently.
    void workingImageReleasedWhileOpen()
    {
        open();
        imaging::ImageStore::instance().release(m_working);

        // Brightness starts from the saved copy, which is still there.
        m_dialog->HScroll1->setValue(30);
        QCOMPARE(preview(), imaging::adjustBrightness(kSource, 30, 30, 30));

        // Contrast at brightness 0 and the preview button need the working
        // image: the preview shows none.
        m_dialog->HScroll1->setValue(0);
        m_dialog->HScroll2->setValue(10);
        QCOMPARE(m_dialog->Ik5Disp1->handle(), 0);
        m_dialog->HScroll1->setValue(30);
        EffectWatch watch(m_dialog->Ik5Effect1);
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        QCOMPARE(watch.calls(), 0);
        QCOMPARE(m_dialog->Ik5Disp1->handle(), 0);
        QVERIFY(!forms::isLoaded<Form2>());

        m_dialog->Command2_Click(); // nothing to apply
        QCOMPARE(m_viewer->Ik5Disp1->handle(), m_working);
        QVERIFY(!forms::isLoaded<frmAkarusa>());
        QCOMPARE(imageCount(), m_imagesBefore);
    }

    // The batch window unloads the main window; a dialog left open must not
    // build a new one, and its images still go.
    void mainWindowGoneWhileOpen_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("apply") << false;
        QTest::newRow("cancel") << true;
    }

    void mainWindowGoneWhileOpen()
    {
        QFETCH(bool, cancel);
        open();
        m_dialog->HScroll1->setValue(30);
        forms::unload<frmviewer>();
        m_dialog->HScroll2->setValue(4); // on the preview: still works
        m_dialog->Command3->click();     // reset: no working image to show
        if (cancel)
            m_dialog->Command4_Click();
        else
            m_dialog->Command2_Click();
        QVERIFY(!forms::isLoaded<frmviewer>());
        QVERIFY(!forms::isLoaded<frmAkarusa>());
        imaging::ImageStore::instance().release(m_working);
        QCOMPARE(imageCount(), m_imagesBefore);
    }

    // Each move makes a new image; the ones it replaces go at once.
    void repeatedMovesKeepMemoryBounded()
    {
        open();
        for (int i = 0; i < 200; ++i) {
            m_dialog->HScroll1->setValue((i * 37) % 511 - 255);
            m_dialog->HScroll2->setValue(i % 61 - 30);
            if (i % 50 == 0)
                QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
            // The working image, the preview and the effect's input.
            QVERIFY2(imageCount() <= m_imagesBefore + 3, qPrintable(QString::number(imageCount())));
        }
        m_dialog->Command2_Click();
        QCOMPARE(imageCount(), m_imagesBefore + 1);
    }
};

QTEST_MAIN(TestBrightnessContrast)
#include "tst_frmakarusa.moc"
