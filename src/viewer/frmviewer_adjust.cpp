// Opening the adjustment dialogs from the main window.

#include "viewer/frmviewer.h"

#include "adjust/frmAkarusa.h"
#include "adjust/frmRotate.h"
#include "adjust/frmSaido.h"

void frmviewer::Command8_Click()
{
    showDisplayInFront();
    // With no image the dialog still opens; its buttons then do nothing.
    showOverPanelArea(forms::get<frmRotate>());
}

// The colour dialogs take the working image when they load; with none
// (another window closed it after the panel opened) there is nothing to
// adjust and they stay closed. An open one is only brought forward.
void frmviewer::Command14_Click()
{
    if (forms::isLoaded<frmAkarusa>() || hasWorkingImage())
        showOnMainWindow(forms::get<frmAkarusa>());
}

void frmviewer::Command16_Click()
{
    if (forms::isLoaded<frmSaido>() || hasWorkingImage())
        showOnMainWindow(forms::get<frmSaido>());
}
