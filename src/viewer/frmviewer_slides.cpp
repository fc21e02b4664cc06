// The slideshow panel: the slideshow control in the display's place, its
// start, pause, end and step buttons, and the hand-over to full screen.

#include "viewer/frmviewer.h"

#include "app/Module1.h"
#include "imaging/widgets/DisplaySteps.h"
#include "rules/SlideInterval.h"
#include "viewer/frmAllSlide.h"
#include "viewer/frmSlidePath.h"

void frmviewer::Command7_Click()
{
    showOverPanelArea(forms::get<frmSlidePath>());
}

void frmviewer::startSlideshow(imaging::Ik5Slide *show) const
{
    // Read first: an interval that does not fit starts nothing.
    const qint32 seconds = rules::slideIntervalSeconds(Text11->text());
    show->setInterval(seconds);
    show->setMode(1);
    show->setFolder(SlideFolder);
    show->setRepeat(Check1->isChecked());
    show->prepare();
    show->start();
}

void frmviewer::cmdSstart_Click()
{
    startSlideshow(Ik5Slide1);
}

void frmviewer::cmdSpause_Click()
{
    Ik5Slide1->pause();
}

void frmviewer::Command2_Click()
{
    Ik5Slide1->setDirection(1);
    Ik5Slide1->first();
}

void frmviewer::Command1_Click()
{
    Ik5Slide1->setDirection(1);
    Ik5Slide1->previous();
}

void frmviewer::Command3_Click()
{
    Ik5Slide1->setDirection(2);
    Ik5Slide1->next();
}

void frmviewer::Command4_Click()
{
    Ik5Slide1->setDirection(2);
    Ik5Slide1->last();
}

void frmviewer::Ik5Slide1_slideShown(int, const QString &, const QString &name)
{
    Text10->setText(name);
    Text10->repaint();
}

void frmviewer::cmdSend_Click()
{
    Ik5Slide1->end();
    forms::unload<frmSlidePath>();
    Ik5Slide1->hide();
    Ik5Disp1->show();
    Ik5Disp1->setBackColor(design::kPanelBlue);
    imaging::clearDisplay(Ik5Disp1);
    clearFileInformation();
    Option1->setChecked(true);
    Text10->clear();
    setImageButtonsEnabled(true);
    Ik5Disp1->bringToFront();
    Frame3->hide();
}

void frmviewer::Command20_Click()
{
    auto *fullScreen = forms::get<frmAllSlide>();
    fullScreen->coverScreenOf(this);
    fullScreen->Show();
}
