// Opening, showing and closing the working image; dragging it.

#include "viewer/frmviewer.h"

#include "app/Form2.h"
#include "rules/TextRules.h"
#include "base/Error.h"
#include "imaging/widgets/DisplaySteps.h"
#include "platform/MessageBox.h"

void frmviewer::OpenImage(OpenVia via, const QString &givenPath)
{
    const bool viaDialog = via == OpenVia::OpenButton || via == OpenVia::EmptyDisplayClick;
    if (via == OpenVia::Drop)
        clearFileInformation();
    // A thumbnail names its file before it is read; the other boxes keep
    // their numbers until the read is done.
    if (via == OpenVia::Thumbnail)
        Text1->setText(textrules::fileNameOf(givenPath));
    // The open button released the images at its click.
    if (via != OpenVia::OpenButton)
        releaseOpenImages();
    imaging::clearDisplay(Ik5Disp1);
    if (viaDialog && !Ik5File1->openDialog())
        return; // cancelled: display cleared, everything else as it was

    try {
        ProgressDialogScope progress;
        if (!viaDialog)
            Ik5File1->setPath(givenPath);
        Ik5File1->setOperation(0);
        Ik5File1->perform();
    } catch (const imaging::Error &error) {
        reportOpenFailure(Ik5File1->path(), error.description());
        return;
    }
    if (viaDialog)
        setImageButtonsEnabled(true);
    Ik5File1->finishRead();
    Text1->setText(textrules::fileNameOf(Ik5File1->path()));
    Text2->setText(textrules::formatNumber(static_cast<double>(Ik5File1->fileSize()) / 1000.0));
    Text3->setText(QString::number(Ik5File1->imageWidth()));
    Text4->setText(QString::number(Ik5File1->imageHeight()));
    Text1->setCursorPosition(0); // a long name shows from its start
    imaging::showInDisplay(Ik5Disp1, Ik5File1->handle());
    if (!viaDialog)
        setImageButtonsEnabled(true);
}

// A file that cannot be read leaves the window as with no image: one message
// naming the file and the reason, the display cleared, the boxes empty and
// the buttons that need an image disabled.
void frmviewer::reportOpenFailure(const QString &path, const QString &reason)
{
    Ik5Disp1->setHandle(0);
    Ik5File1->setHandle(0);
    clearFileInformation();
    setImageButtonsEnabled(false);
    platform::messageBox(QStringLiteral("画像を開けませんでした。\n\n%1\n\n%2").arg(textrules::fileNameOf(path), reason),
                         platform::msgbox::Exclamation);
}

// The image the file control read goes when another is opened, and so does
// the working image an effect made from it: otherwise every adjusted photo
// would stay in memory after the next open. The handles stay stored, and a
// released handle counts as no image. A cut waiting for "取り消し" or "決定"
// belongs to the old image: undoing it later would put the old picture under
// the new file's name, so the image before it goes too and both buttons close.
void frmviewer::releaseOpenImages()
{
    forgetImageBeforeCut();
    Command11->setEnabled(false);
    Command18->setEnabled(false);
    for (const imaging::Handle handle : {Ik5File1->handle(), Ik5Disp1->handle()}) {
        Ik5Common1->setHandle(handle);
        Ik5Common1->release();
    }
}

void frmviewer::Form_Unload()
{
    releaseOpenImages();
}

void frmviewer::clearFileInformation()
{
    for (QLineEdit *box : {Text1, Text2, Text3, Text4})
        box->clear();
}

void frmviewer::CloseImage()
{
    clearFileInformation();
    Option1->setChecked(true);
    setImageButtonsEnabled(false);
    imaging::clearDisplay(Ik5Disp1);
}

void frmviewer::Ik5Disp1_clickedEmpty()
{
    if (Ik5Disp1->handle() != 0)
        return;
    OpenImage(OpenVia::EmptyDisplayClick);
}

void frmviewer::Ik5Disp1_fileDropped(const QString &path)
{
    OpenImage(OpenVia::Drop, path);
}

// The image follows the pointer: moving right by n scrolls left by n.
void frmviewer::Ik5Disp1_pointerPressed(int x, int y)
{
    if (Ik5Disp1->selectionMode())
        return;
    DragActive = 1;
    DragOriginX = Ik5Disp1->scrollX() + x;
    DragOriginY = Ik5Disp1->scrollY() + y;
}

void frmviewer::Ik5Disp1_pointerMoved(int x, int y)
{
    if (Ik5Disp1->selectionMode() || DragActive != 1 || (x == LastDragX && y == LastDragY))
        return;
    Ik5Disp1->setScrollX(DragOriginX - x);
    Ik5Disp1->setScrollY(DragOriginY - y);
    Ik5Disp1->perform();
    LastDragX = x;
    LastDragY = y;
}

void frmviewer::Ik5Disp1_pointerReleased()
{
    if (!Ik5Disp1->selectionMode())
        DragActive = 0;
}

void frmviewer::Ik5Disp1_zoomAnchor(int x, int y)
{
    ZoomAnchorX = x;
    ZoomAnchorY = y;
}

void frmviewer::Ik5File1_progress(int percent)
{
    Form2::reportProgress(percent);
}

void frmviewer::Ik5Effect1_progress(int percent)
{
    Form2::reportProgress(percent);
}
