// The thumbnail strip below the main window's normal bottom edge: its
// folder picker, its progress, and opening the image a thumbnail stands for.

#include "viewer/frmviewer.h"

#include <QScopedValueRollback>

#include "platform/Guard.h"
#include "platform/Twips.h"
#include "viewer/frmThumbPath.h"

void frmviewer::Timer1_Timer()
{
    // This button acts first and shows its normal picture after.
    showOverPanelArea(forms::get<frmThumbPath>());
    releaseToolButton(Image7);
}

void frmviewer::Ik5Thumb1_itemLoaded(const QString &, const QString &, int n, int count)
{
    Label19->setText(QStringLiteral("%1/%2読込中").arg(n).arg(count));
    design::fitCaption(Label19);
    platform::yieldToEventLoop();
    forms::unload<frmThumbPath>();
}

void frmviewer::cmdTcancel_Click()
{
    Ik5Thumb1->setCancel(true);
}

void frmviewer::Ik5Thumb1_itemChosen()
{
    // A second choice while the first is still being read waits for nothing.
    if (m_readingChosen)
        return;
    const QScopedValueRollback reading(m_readingChosen, true);
    OpenImage(OpenVia::Thumbnail, Ik5Thumb1->chosenPath());
}
