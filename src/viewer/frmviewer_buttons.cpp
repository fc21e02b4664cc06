// The tool buttons: a click shows the pressed bitmap and starts a 300 ms
// timer; its tick brings the normal bitmap back and runs the action.

#include "viewer/frmviewer.h"

#include <QDir>

#include "app/Form2.h"
#include "app/Module1.h"
#include "app/frmAbout.h"
#include "base/Error.h"
#include "platform/MessageBox.h"
#include "save/frmSave.h"

struct frmviewer::ToolButton
{
    platform::PictureButton *frmviewer::*button;
    platform::Timer *frmviewer::*timer;
    const char *bitmap;      // file stem in the program folder
    bool actionBeforeBitmap; // the thumbnail button acts first
};

namespace {
constexpr int kPressMilliseconds = 300;
} // namespace

const frmviewer::ToolButton &frmviewer::toolButton(platform::PictureButton *button) const
{
    static const ToolButton buttons[] = {
        {&frmviewer::Image2, &frmviewer::Timer2, "botton_open", false},
        {&frmviewer::Image3, &frmviewer::Timer3, "botton_close", false},
        {&frmviewer::Image8, &frmviewer::Timer4, "botton_save", false},
        {&frmviewer::Image4, &frmviewer::Timer5, "botton_end", false},
        {&frmviewer::Image1, &frmviewer::Timer6, "botton_cont", false},
        {&frmviewer::Image6, &frmviewer::Timer7, "botton_print", false},
        {&frmviewer::Image7, &frmviewer::Timer1, "botton_thumb", true},
    };
    for (const ToolButton &entry : buttons)
        if (this->*entry.button == button)
            return entry;
    Q_UNREACHABLE();
}

void frmviewer::pressToolButton(platform::PictureButton *button)
{
    const ToolButton &entry = toolButton(button);
    // A missing bitmap keeps the current picture; the action still runs.
    button->setPictureFile(AppPath + QString::fromLatin1(entry.bitmap) + QStringLiteral("_p.bmp"));
    (this->*entry.timer)->setEnabled(true);
    (this->*entry.timer)->setInterval(kPressMilliseconds);
}

void frmviewer::releaseToolButton(platform::PictureButton *button)
{
    const ToolButton &entry = toolButton(button);
    button->setPictureFile(AppPath + QString::fromLatin1(entry.bitmap) + QStringLiteral(".bmp"));
    (this->*entry.timer)->setEnabled(false);
}

void frmviewer::Image1_Click()
{
    Ik5Disp1->show();
    Ik5Disp1->bringToFront();
    pressToolButton(Image1);
}

void frmviewer::Image2_Click()
{
    releaseOpenImages();
    pressToolButton(Image2);
}

void frmviewer::Image3_Click() { pressToolButton(Image3); }
void frmviewer::Image4_Click() { pressToolButton(Image4); }
void frmviewer::Image6_Click() { pressToolButton(Image6); }
void frmviewer::Image7_Click() { pressToolButton(Image7); }
void frmviewer::Image8_Click() { pressToolButton(Image8); }

void frmviewer::Image5_Click()
{
    forms::get<frmAbout>()->Show();
}

void frmviewer::Timer2_Timer()
{
    releaseToolButton(Image2);
    OpenImage(OpenVia::OpenButton);
}

void frmviewer::Timer3_Timer()
{
    releaseToolButton(Image3);
    CloseImage();
}

void frmviewer::Timer4_Timer()
{
    releaseToolButton(Image8);
    // A released image is never saved: a stale handle counts as no image.
    // The working image is what gets saved, so that is the one to look at.
    if (Ik5File1->handle() == 0 || !hasWorkingImage())
        return;
    forms::get<frmSave>()->ShowModal();
    if (Ik5File1->operation() <= 0)
        return;
    // The writer replaces a file only with a complete one; a failure leaves
    // any file at the path as it was. Say which file could not be saved and why.
    try {
        ProgressDialogScope progress;
        Ik5File1->perform();
    } catch (const imaging::Error &error) {
        platform::messageBox(QStringLiteral("画像を保存できませんでした。\n\n%1\n\n%2")
                                 .arg(QDir::toNativeSeparators(Ik5File1->path()), error.description()),
                             platform::msgbox::Exclamation);
    }
}

void frmviewer::Timer5_Timer()
{
    releaseToolButton(Image4);
    Module1::endProgram();
}

void frmviewer::Timer6_Timer()
{
    releaseToolButton(Image1);
    const bool image = hasWorkingImage();
    showPanel(Frame4);
    Command14->setEnabled(image);
    Command16->setEnabled(image);
}

void frmviewer::Timer7_Timer()
{
    releaseToolButton(Image6);
    showPrintWindow();
}

