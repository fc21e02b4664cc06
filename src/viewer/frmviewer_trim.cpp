// The display settings panel: fit or unscaled with a zoom factor and the pan
// window, and trimming to a frame drawn on the display.

#include "viewer/frmviewer.h"

#include <array>

#include "app/Form2.h"
#include "imaging/widgets/DisplaySteps.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"

namespace {
constexpr double kZoomFactors[] = {0.5, 1.0, 2.0, 4.0};
constexpr int kPanWindowSize = 150;
constexpr int kPanWindowGapPx = 30;
} // namespace

void frmviewer::resetSelection()
{
    Ik5Disp1->setSelLeft(0);
    Ik5Disp1->setSelTop(0);
    Ik5Disp1->setSelRight(0);
    Ik5Disp1->setSelBottom(0);
}

void frmviewer::Option1_Click()
{
    imaging::redrawInFitMode(Ik5Disp1);
    Ik5Disp1->showPanWindow(0);
}

void frmviewer::Option2_Click()
{
    imaging::redrawInSizeMode(Ik5Disp1, imaging::Ik5Disp::kUnscaled);
    // The pan window opens just beyond the main window's inner right edge,
    // level with its top.
    const QPoint at = platform::positionTwips(this);
    Ik5Disp1->setPanLeft(platform::twipsToPixels(at.x()) + width() + kPanWindowGapPx);
    Ik5Disp1->setPanTop(platform::twipsToPixels(at.y()));
    Ik5Disp1->setPanCaption(Text1->text());
    Ik5Disp1->setPanSize(kPanWindowSize);
    Ik5Disp1->showPanWindow(-1);
    Option6[1]->setChecked(true);
}

void frmviewer::Option6_Click(int index)
{
    // In fit mode the zoom options only change their own selection.
    if (Ik5Disp1->sizeMode() != imaging::Ik5Disp::kUnscaled)
        return;
    Ik5Disp1->setZoom(kZoomFactors[index]);
    Ik5Disp1->setStep(imaging::Ik5Disp::kStepPrepare);
    Ik5Disp1->perform();
    Ik5Disp1->setZoomAnchorX(ZoomAnchorX);
    Ik5Disp1->setZoomAnchorY(ZoomAnchorY);
    Ik5Disp1->setStep(imaging::Ik5Disp::kStepShow);
    Ik5Disp1->perform();
    Ik5Disp1->setZoomAnchorX(0);
    Ik5Disp1->setZoomAnchorY(0);
}

void frmviewer::Check2_Click()
{
    if (Check2->isChecked()) {
        // A frame is drawn in fit mode; the options keep their selection.
        Option1_Click();
        Ik5Disp1->setSelectionMode(true);
        Command5->setEnabled(true);
        Command11->setEnabled(false);
        forgetImageBeforeCut();
        Label8->show();
        return;
    }
    Command5->setEnabled(false);
    Command11->setEnabled(false);
    forgetImageBeforeCut();
    resetSelection();
    Option1_Click();
    Ik5Disp1->setSelectionMode(false);
    Label8->hide();
    Command18->setEnabled(false);
}

void frmviewer::Command5_Click()
{
    const int left = Ik5Disp1->selLeft(), top = Ik5Disp1->selTop();
    const int right = Ik5Disp1->selRight(), bottom = Ik5Disp1->selBottom();
    // A frame drawn on an image that was released since (the open button
    // was pressed and its dialog cancelled) has nothing left to cut.
    if (!hasWorkingImage()) {
        Check2->setChecked(false);
        return;
    }
    // Left and right both 0: no frame was drawn.
    if (left == 0 && right == 0) {
        platform::messageBox(QStringLiteral("画像をクリックドラッグしてトリミングしたい場所を選択して下さい"));
        Ik5Disp1->setSelectionMode(false);
        Check2->setChecked(false);
        return;
    }
    // Corners clockwise from the top left.
    const std::array<qint32, 4> xs{left, right, right, left};
    const std::array<qint32, 4> ys{top, top, bottom, bottom};
    const imaging::Handle before = Ik5Disp1->handle();
    Ik5Effect1->setSource(before);
    {
        ProgressDialogScope progress(Text1->text() + QStringLiteral("処理中"));
        Ik5Effect1->setOptionMode(2);
        Ik5Effect1->setOptionFlag(true);
        Ik5Effect1->cutPolygon(xs, ys, 4, 0, 0, 0);
    }
    // The image before the cut stays for "取り消し" until the cut is accepted.
    resetSelection();
    imaging::showInDisplay(Ik5Disp1, Ik5Effect1->result());
    Check2->setChecked(false);
    m_imageBeforeCut = before;
    Ik5Disp1->setSelectionMode(false);
    Command5->setEnabled(false);
    Command11->setEnabled(true);
    Command18->setEnabled(true);
}

void frmviewer::Command11_Click()
{
    // Back to the image before the cut; whatever replaced it since goes.
    if (imaging::ImageStore::instance().contains(m_imageBeforeCut))
        replaceWorkingImage(std::exchange(m_imageBeforeCut, 0));
    resetSelection();
    Ik5Disp1->setStep(imaging::Ik5Disp::kStepShow);
    Ik5Disp1->perform();
    Ik5Disp1->setSelectionMode(false);
    Command5->setEnabled(false);
    Command11->setEnabled(false);
    Command18->setEnabled(false);
    Check2->setChecked(false);
}

void frmviewer::Command18_Click()
{
    Check2->setChecked(false);
    Command5->setEnabled(false);
    Command11->setEnabled(false);
    Ik5Disp1->setSelectionMode(false);
    Label8->hide();
    Command18->setEnabled(false);
    forgetImageBeforeCut();
}

void frmviewer::forgetImageBeforeCut()
{
    const imaging::Handle before = std::exchange(m_imageBeforeCut, 0);
    if (before != 0 && before != Ik5Disp1->handle()) {
        Ik5Common1->setHandle(before);
        Ik5Common1->release();
    }
}

void frmviewer::Command12_Click()
{
    Option1_Click();
    Frame2->hide();
}
