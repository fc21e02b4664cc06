#include <QtTest>

#include "app/Form2.h"
#include "app/Module1.h"
#include "imaging/core/FileDialogSeam.h"
#include "imaging/core/ImageStore.h"
#include "platform/Twips.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"
#include "viewer/frmviewer.h"

using namespace testsupport;
using imaging::Ik5Disp;

namespace {

// A 60 x 40 image whose pixel at (x, y) tells where it came from.
imaging::Handle gradientImage()
{
    imaging::Image image;
    image.pixels = QImage(60, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            image.pixels.setPixel(x, y, qRgb(x * 4, y * 6, 100));
    return imaging::ImageStore::instance().add(image);
}

struct TrimState
{
    bool ticked, frameMode, hint, cut, undo, accept;
    bool operator==(const TrimState &) const = default;
};

TrimState trimStateOf(frmviewer *v)
{
    return {v->Check2->isChecked(), v->Ik5Disp1->selectionMode(), !v->Label8->isHidden(),
            v->Command5->isEnabled(), v->Command11->isEnabled(), v->Command18->isEnabled()};
}

const TrimState kIdle{false, false, false, false, false, false};
const TrimState kDrawing{true, true, true, true, false, false};
const TrimState kCutDone{false, false, false, false, true, true};

} // namespace

class TestDisplaySettings : public QObject
{
    Q_OBJECT

private:
    frmviewer *m_v = nullptr;

    void drawFrame(int left, int top, int right, int bottom)
    {
        m_v->Ik5Disp1->setSelLeft(left);
        m_v->Ik5Disp1->setSelTop(top);
        m_v->Ik5Disp1->setSelRight(right);
        m_v->Ik5Disp1->setSelBottom(bottom);
    }

private slots:
    void init()
    {
        m_v = forms::get<frmviewer>();
        m_v->Show();
        m_v->Text1->setText(QStringLiteral("夏 1.jpg"));
        m_v->replaceWorkingImage(gradientImage());
        m_v->Command6_Click();
    }

    void cleanup()
    {
        m_v->Ik5Common1->setHandle(m_v->Ik5Disp1->handle());
        m_v->Ik5Common1->release();
        unloadAllForms();
    }

    void zoomAppliesOnlyUnscaled()
    {
        m_v->Option6[2]->setChecked(true); // "*2" in fit mode
        QCOMPARE(m_v->Ik5Disp1->sizeMode(), Ik5Disp::kFit);
        QCOMPARE(m_v->Ik5Disp1->zoom(), 1.0);

        m_v->Option2->setChecked(true); // "Original Size" selects "1"
        QCOMPARE(m_v->Ik5Disp1->sizeMode(), Ik5Disp::kUnscaled);
        QVERIFY(m_v->Option6[1]->isChecked());
        QCOMPARE(m_v->Ik5Disp1->zoom(), 1.0);

        const double factors[] = {0.5, 1.0, 2.0, 4.0};
        for (int i : {3, 0, 2, 1}) {
            m_v->Option6[i]->setChecked(true);
            QCOMPARE(m_v->Ik5Disp1->zoom(), factors[i]);
        }
        m_v->Option1->setChecked(true);
        QCOMPARE(m_v->Ik5Disp1->sizeMode(), Ik5Disp::kFit);
        QVERIFY(!m_v->Ik5Disp1->panWindowOn());
    }

    void originalSizeKeepsAZoomPickedInFitMode()
    {
        m_v->Option6[1]->setChecked(true); // no effect in fit mode
        m_v->Option2->setChecked(true);   // "1" already selected: no zoom handler runs
        QCOMPARE(m_v->Ik5Disp1->zoom(), 1.0);
        m_v->Option6[3]->setChecked(true);
        m_v->Option1->setChecked(true);
        m_v->Option6[1]->setChecked(true);
        m_v->Option2->setChecked(true);
        QCOMPARE(m_v->Ik5Disp1->zoom(), 4.0); // the factor the display last received
    }

    void panWindowBesideTheMainWindow()
    {
        platform::moveTwips(m_v, 1500, 1200);
        m_v->Option2->setChecked(true);
        QVERIFY(m_v->Ik5Disp1->panWindowOn());
        QCOMPARE(m_v->Ik5Disp1->panLeft(), 1500 / 15 + m_v->width() + 30);
        QCOMPARE(m_v->Ik5Disp1->panTop(), 1200 / 15);
        QCOMPARE(m_v->Ik5Disp1->panCaption(), QStringLiteral("夏 1.jpg"));
        QCOMPARE(m_v->Ik5Disp1->panSize(), 150);
    }

    void hidingThePanelReturnsToFit()
    {
        m_v->Option2->setChecked(true);
        m_v->Command12_Click();
        QVERIFY(m_v->Frame2->isHidden());
        QCOMPARE(m_v->Ik5Disp1->sizeMode(), Ik5Disp::kFit);
        QVERIFY(!m_v->Ik5Disp1->panWindowOn());
        QVERIFY(m_v->Option2->isChecked()); // the option keeps its selection
    }

    void zoomKeepsTheReportedAnchor()
    {
        m_v->Option2->setChecked(true);
        m_v->ZoomAnchorX = 17;
        m_v->ZoomAnchorY = 9;
        m_v->Option6[2]->setChecked(true);
        // The anchor was handed over for the redraw and reset afterwards.
        QCOMPARE(m_v->Ik5Disp1->zoomAnchorPoint(), QPoint(0, 0));
    }

    // tick -> frame -> cut -> undo; tick -> frame -> cut -> accept; untick
    void trimmingStateMachine()
    {
        const imaging::Handle original = m_v->Ik5Disp1->handle();
        QVERIFY(trimStateOf(m_v) == kIdle);
        m_v->Option2->setChecked(true);
        m_v->Check2->setChecked(true);
        QVERIFY(trimStateOf(m_v) == kDrawing);
        QCOMPARE(m_v->Ik5Disp1->sizeMode(), Ik5Disp::kFit); // frames are drawn fitted
        QVERIFY(m_v->Option2->isChecked());

        drawFrame(10, 5, 30, 25);
        m_v->Command5_Click();
        QVERIFY(trimStateOf(m_v) == kCutDone);
        const imaging::Handle cut = m_v->Ik5Disp1->handle();
        const QImage &pixels = imaging::ImageStore::instance().get(cut).pixels;
        QCOMPARE(pixels.size(), QSize(20, 20));
        QCOMPARE(pixels.pixel(0, 0), qRgb(40, 30, 100)); // the frame's top-left pixel
        QCOMPARE(m_v->Ik5Disp1->selRight(), 0);
        QVERIFY(!forms::isLoaded<Form2>());

        m_v->Command11_Click(); // undo
        QVERIFY(trimStateOf(m_v) == kIdle);
        QCOMPARE(m_v->Ik5Disp1->handle(), original);
        QVERIFY(!imaging::ImageStore::instance().contains(cut));

        m_v->Check2->setChecked(true);
        drawFrame(0, 0, 60, 10);
        m_v->Command5_Click();
        const imaging::Handle accepted = m_v->Ik5Disp1->handle();
        m_v->Command18_Click(); // accept
        QVERIFY(trimStateOf(m_v) == kIdle);
        QCOMPARE(m_v->Ik5Disp1->handle(), accepted);
        // Nothing can bring the old image back now: it is released.
        QVERIFY(!imaging::ImageStore::instance().contains(original));
    }

    void cutWithoutAFrame()
    {
        m_v->Check2->setChecked(true);
        drawFrame(0, 7, 0, 30); // left and right both 0: no frame, whatever else
        ScriptedMessageBoxes boxes;
        boxes.expect(platform::msgbox::Ok, QStringLiteral("画像をクリックドラッグしてトリミングしたい場所を選択して下さい"));
        const auto before = imaging::ImageStore::instance().count();
        m_v->Command5_Click();
        QVERIFY(trimStateOf(m_v) == kIdle);
        QCOMPARE(imaging::ImageStore::instance().count(), before);
    }

    void anotherTrimForgetsTheUndo()
    {
        const imaging::Handle original = m_v->Ik5Disp1->handle();
        m_v->Check2->setChecked(true);
        drawFrame(0, 0, 30, 30);
        m_v->Command5_Click();
        m_v->Check2->setChecked(true); // a new frame: undo is no longer offered
        QVERIFY(!m_v->Command11->isEnabled());
        QVERIFY(!imaging::ImageStore::instance().contains(original));
    }

    void undoAfterARotationInBetween()
    {
        const imaging::Handle original = m_v->Ik5Disp1->handle();
        m_v->Check2->setChecked(true);
        drawFrame(0, 0, 30, 30);
        m_v->Command5_Click();
        // Another effect replaces the working image while undo is pending.
        m_v->Ik5Effect1->setSource(m_v->Ik5Disp1->handle());
        m_v->replaceWorkingImage(m_v->Ik5Effect1->rotate(-9000, 0, 0, 0, 255, 255, 255, 0));
        const imaging::Handle rotated = m_v->Ik5Disp1->handle();
        m_v->Command11_Click();
        QCOMPARE(m_v->Ik5Disp1->handle(), original);
        QVERIFY(!imaging::ImageStore::instance().contains(rotated));
    }

    // The open button releases the images at its click; a cancelled dialog
    // then leaves nothing to cut and nothing to undo.
    void openButtonEndsTrimmingOfTheOldImage()
    {
        const auto cancel = imaging::setOpenFileDialog([](const QString &) { return QString(); });
        const imaging::Handle original = m_v->Ik5Disp1->handle();
        m_v->Check2->setChecked(true);
        drawFrame(0, 0, 30, 30);
        m_v->Command5_Click();
        const imaging::Handle cut = m_v->Ik5Disp1->handle();
        m_v->Image2_Click();
        m_v->Timer2_Timer();
        QVERIFY(!m_v->Command11->isEnabled());
        QVERIFY(!m_v->Command18->isEnabled());
        QVERIFY(!imaging::ImageStore::instance().contains(original));
        QVERIFY(!imaging::ImageStore::instance().contains(cut));

        // A frame drawn before the open is not cut from the released image:
        // no box, no new image, back to idle.
        m_v->Check2->setChecked(true);
        drawFrame(5, 5, 20, 20);
        m_v->Image2_Click();
        m_v->Timer2_Timer();
        ScriptedMessageBoxes boxes;
        const auto before = imaging::ImageStore::instance().count();
        m_v->Command5_Click();
        QVERIFY(trimStateOf(m_v) == kIdle);
        QCOMPARE(imaging::ImageStore::instance().count(), before);
        imaging::setOpenFileDialog(cancel);
    }
};

QTEST_MAIN(TestDisplaySettings)
#include "tst_displaysettings.moc"
