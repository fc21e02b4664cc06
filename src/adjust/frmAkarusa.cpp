#include "adjust/frmAkarusa.h"

#include "app/Design.h"
#include "app/Form2.h"
#include "platform/Events.h"
#include "platform/Twips.h"
#include "viewer/frmviewer.h"

using design::control;

namespace {

constexpr qint16 kColourOption = 1;
constexpr double kContrastSteps = 10.0; // the bar counts tenths
constexpr int kBrightnessCaptionRight = platform::twipsToPixels(1200 + 90);

} // namespace

frmAkarusa::frmAkarusa()
    : PreviewDialog("frmAkarusa", QStringLiteral("明るさ  コントラスト"),
                    {{60, 540, 1020, 1500}, {375, 315, 315, 315}})
{
    Label4 = control<QLabel>(this, "Label4",
                             QStringLiteral("-255                    0                     255         "), 1440,
                             3600, 3195, 255);
    Label1 = control<QLabel>(this, "Label1", QStringLiteral("明るさ"), 120, 3900, 465, 180);
    Label3 = control<QLabel>(this, "Label3", QStringLiteral("0"), 1200, 3900, 90, 180);
    HScroll1 = control<QScrollBar>(this, "HScroll1", 1440, 3840, 3195, 255);
    design::setBarRange(HScroll1, -255, 255, 1, 1);
    Label2 = control<QLabel>(this, "Label2", QStringLiteral("コントラスト"), 120, 4410, 855, 180);
    HScroll2 = control<QScrollBar>(this, "HScroll2", 1440, 4380, 3195, 255);
    design::setBarRange(HScroll2, -30, 30, 1, 2);

    platform::onChange(HScroll1, this, &frmAkarusa::HScroll1_Change);
    platform::onChange(HScroll2, this, &frmAkarusa::HScroll2_Change);
}

void frmAkarusa::Form_Load()
{
    Command2->setEnabled(false);
    m_openedWith = adjust::workingImage();
    Ik5Effect1->setSource(m_openedWith);
    if (Ik5Effect1->hasCopy())
        Ik5Effect1->dropCopy();
    // Brightness and Cancel start from this copy. With no working image it
    // throws, and the dialog does not open.
    Ik5Effect1->copyToClipboard();
    showPreview(m_openedWith);
    HScroll2->setValue(0);
    setBrightnessCaption(QString::number(HScroll1->value()));
}

void frmAkarusa::Form_Unload()
{
    PreviewDialog::Form_Unload();
    Ik5Effect1->dropCopy();
}

void frmAkarusa::HScroll1_Change()
{
    setBrightnessCaption(QString::number(HScroll1->value()));
    brightness = static_cast<qint16>(HScroll1->value());
    madeHere(Ik5Effect1->newFromCopy());
    Ik5Effect1->setSource(Ik5Effect1->result());
    Ik5Effect1->setOptionMode(kColourOption);
    madeHere(Ik5Effect1->brightness(0, 0, 0, brightness, brightness, brightness));
    showPreview(Ik5Effect1->result());
    releaseUnusedImages();
}

void frmAkarusa::HScroll2_Change()
{
    contrast = HScroll2->value() / kContrastSteps;
    // Brightness untouched or back at 0: from the working image; otherwise
    // on top of the preview, which carries the brightness.
    const imaging::Handle input = Label3->text() == QStringLiteral("0") ? adjust::workingImage() : Ik5Disp1->handle();
    if (!imaging::ImageStore::instance().contains(input)) {
        showNothing();
        return;
    }
    Ik5Effect1->setSource(input);
    Ik5Effect1->setOptionMode(kColourOption);
    madeHere(Ik5Effect1->contrast(0, 0, 0, contrast, contrast, contrast));
    showPreview(Ik5Effect1->result());
    releaseUnusedImages();
}

void frmAkarusa::Command1_Click()
{
    const imaging::Handle image = adjust::workingImage();
    if (image == 0) {
        showNothing();
        return;
    }
    Ik5Effect1->setSource(image);
    {
        ProgressDialogScope progress(adjust::processingStatus());
        Ik5Effect1->setOptionMode(kColourOption);
        madeHere(Ik5Effect1->brightness(0, 0, 0, brightness, brightness, brightness));
        Ik5Effect1->setSource(Ik5Effect1->result());
        Ik5Effect1->setOptionMode(kColourOption);
        madeHere(Ik5Effect1->contrast(0, 0, 0, contrast, contrast, contrast));
    }
    showPreview(Ik5Effect1->result());
    Command2->setEnabled(true);
    releaseUnusedImages();
}

void frmAkarusa::Command3_Click()
{
    showPreview(adjust::workingImage());
    brightness = 0;
    contrast = 0.0;
    HScroll1->setValue(0);
    HScroll2->setValue(0);
    releaseUnusedImages();
}

void frmAkarusa::Command4_Click()
{
    // The image as it was at opening goes back only while the main window
    // still shows the image it was copied from. Once another window has
    // replaced, released or closed that image, the main window keeps what
    // it shows: cancelling here never undoes work done elsewhere.
    const frmviewer *viewer = mainWindowIfLoaded();
    if (viewer && viewer->Ik5Disp1->handle() == m_openedWith && viewer->Ik5Disp1->isShowingImage())
        adjust::applyToMainWindow(Ik5Effect1->newFromCopy());
    Ik5Effect1->dropCopy();
    endDialog();
}

void frmAkarusa::setBrightnessCaption(const QString &text)
{
    // The label sizes itself to its text, growing to the left: its design
    // holds one digit and ends just before the bar, which would otherwise
    // hide the rest of "-255".
    Label3->setText(text);
    Label3->adjustSize();
    Label3->move(kBrightnessCaptionRight - Label3->width(), Label3->y());
}

void frmAkarusa::showNothing()
{
    // With no image to work on the preview shows none, so it never offers
    // a result the bars no longer describe, and Apply then applies nothing.
    showPreview(0);
    releaseUnusedImages();
}
