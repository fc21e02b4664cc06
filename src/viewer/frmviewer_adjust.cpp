// Opening the adjustment dialogs from the main window.

#include "viewer/frmviewer.h"

#include "adjust/frmAkarusa.h"
#include "adjust/frmRotate.h"
#include "adjust/frmSaido.h"
#include "platform/Twips.h"

namespace {

// Where the rotate dialog goes: over the panel area.
constexpr int kPanelAreaLeft = 4920;
constexpr int kPanelAreaTop = 2550;

// Shows a dialog modeless (an open one comes to the front) and then places
// it relative to the main window, so the dialog's own load runs first.
template <typename Dialog>
void showAt(const frmviewer *viewer, int offsetLeft, int offsetTop)
{
    auto *dialog = forms::get<Dialog>();
    dialog->Show();
    const QPoint at = platform::positionTwips(viewer);
    platform::moveTwips(dialog, at.x() + offsetLeft, at.y() + offsetTop);
}

} // namespace

void frmviewer::Command8_Click()
{
    Ik5Disp1->show();
    Ik5Disp1->bringToFront();
    // With no image the dialog still opens; its buttons then do nothing.
    showAt<frmRotate>(this, kPanelAreaLeft, kPanelAreaTop);
}

// The colour dialogs take the working image when they load; with none
// (another window closed it after the panel opened) there is nothing to
// adjust and they stay closed. An open one is only brought forward.
void frmviewer::Command14_Click()
{
    if (forms::isLoaded<frmAkarusa>() || hasWorkingImage())
        showAt<frmAkarusa>(this, 0, 0);
}

void frmviewer::Command16_Click()
{
    if (forms::isLoaded<frmSaido>() || hasWorkingImage())
        showAt<frmSaido>(this, 0, 0);
}
