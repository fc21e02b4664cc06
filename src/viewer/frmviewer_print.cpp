// Printing from the main window: the image print window and the contact sheet.

#include "viewer/frmviewer.h"

#include "app/Module1.h"
#include "print/frmPrint.h"
#include "print/frmPrintCont.h"

void frmviewer::showPrintWindow()
{
    forms::get<frmPrint>()->Show();
}

void frmviewer::Command9_Click()
{
    showOverPanelArea(forms::get<frmPrintCont>());
    ThumbTotal = 0;
    ThumbPage = 1;
    ThumbSlot = 0;
    ThumbPrinted = 0;
}
