#include "viewer/frmviewer.h"

#include <QPainter>

#include "imaging/widgets/DisplaySteps.h"
#include "platform/Events.h"
#include "platform/Twips.h"

frmviewer *mainWindowIfLoaded()
{
    return forms::isLoaded<frmviewer>() ? forms::get<frmviewer>() : nullptr;
}

frmviewer::frmviewer()
{
    setObjectName(QStringLiteral("frmviewer"));
    setWindowTitle(QStringLiteral("Morvell Image Viewer"));
    setWindowIcon(QIcon(QStringLiteral(":/design/morvell-viewer.png")));
    // Fixed size, no maximise or minimise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    m_background = QPixmap(QStringLiteral(":/design/viewer_background.png"));

    buildDisplayArea();
    buildToolButtons();
    buildFileInformation();
    buildPanelButtons();
    buildThumbnailStrip();
    buildDisplaySettingsPanel();
    buildSlideshowPanel();
    buildAdjustmentsPanel();
    buildQuickResizePanel();
    buildSuiteControls();
    // The logo lies beneath every panel shown over it.
    Image5->lower();
    wireHandlers();
    platform::setOuterSizeTwips(this, kOuterWidth, kOuterHeight);
}

void frmviewer::wireHandlers()
{
    using platform::on;
    using platform::onClick;
    on(Ik5Disp1, &imaging::Ik5Disp::clickedEmpty, this, &frmviewer::Ik5Disp1_clickedEmpty);
    on(Ik5Disp1, &imaging::Ik5Disp::fileDropped, this, &frmviewer::Ik5Disp1_fileDropped);
    on(Ik5Disp1, &imaging::Ik5Disp::pointerPressed, this, &frmviewer::Ik5Disp1_pointerPressed);
    on(Ik5Disp1, &imaging::Ik5Disp::pointerMoved, this, &frmviewer::Ik5Disp1_pointerMoved);
    on(Ik5Disp1, &imaging::Ik5Disp::pointerReleased, this, &frmviewer::Ik5Disp1_pointerReleased);
    on(Ik5Disp1, &imaging::Ik5Disp::zoomAnchor, this, &frmviewer::Ik5Disp1_zoomAnchor);
    // Progress handlers run while an operation yields: they must get through.
    on(Ik5File1, &imaging::Ik5File::progress, this, &frmviewer::Ik5File1_progress, platform::WhileBusy::Allowed);
    on(Ik5Effect1, &imaging::Ik5Effect::progress, this, &frmviewer::Ik5Effect1_progress, platform::WhileBusy::Allowed);

    onClick(Image1, this, &frmviewer::Image1_Click);
    onClick(Image2, this, &frmviewer::Image2_Click);
    onClick(Image3, this, &frmviewer::Image3_Click);
    onClick(Image4, this, &frmviewer::Image4_Click);
    onClick(Image5, this, &frmviewer::Image5_Click);
    onClick(Image6, this, &frmviewer::Image6_Click);
    onClick(Image7, this, &frmviewer::Image7_Click);
    onClick(Image8, this, &frmviewer::Image8_Click);
    platform::onTimer(Timer1, this, &frmviewer::Timer1_Timer);
    platform::onTimer(Timer2, this, &frmviewer::Timer2_Timer);
    platform::onTimer(Timer3, this, &frmviewer::Timer3_Timer);
    platform::onTimer(Timer4, this, &frmviewer::Timer4_Timer);
    platform::onTimer(Timer5, this, &frmviewer::Timer5_Timer);
    platform::onTimer(Timer6, this, &frmviewer::Timer6_Timer);
    platform::onTimer(Timer7, this, &frmviewer::Timer7_Timer);

    onClick(Option1, this, &frmviewer::Option1_Click);
    onClick(Option2, this, &frmviewer::Option2_Click);
    for (int i = 0; i < 4; ++i)
        onClick(Option6[i], this, [this, i] { Option6_Click(i); });
    onClick(Check2, this, &frmviewer::Check2_Click);
    onClick(Command5, this, &frmviewer::Command5_Click);
    onClick(Command11, this, &frmviewer::Command11_Click);
    onClick(Command18, this, &frmviewer::Command18_Click);
    onClick(Command12, this, &frmviewer::Command12_Click);
    onClick(Command8, this, &frmviewer::Command8_Click);
    onClick(Command14, this, &frmviewer::Command14_Click);
    onClick(Command16, this, &frmviewer::Command16_Click);

    onClick(Command6, this, &frmviewer::Command6_Click);
    onClick(Command7, this, &frmviewer::Command7_Click);
    // While the strip is being built (it yields between items) the user may
    // stop it, hide it or open one of the thumbnails already there.
    onClick(Command10, this, &frmviewer::Command10_Click, platform::WhileBusy::Allowed);
    onClick(cmdTcancel, this, &frmviewer::cmdTcancel_Click, platform::WhileBusy::Allowed);
    on(Ik5Thumb1, &imaging::Ik5Thumb::itemLoaded, this, &frmviewer::Ik5Thumb1_itemLoaded);
    on(Ik5Thumb1, &imaging::Ik5Thumb::itemChosen, this, &frmviewer::Ik5Thumb1_itemChosen,
       platform::WhileBusy::Allowed);

    onClick(cmdSstart, this, &frmviewer::cmdSstart_Click);
    onClick(cmdSpause, this, &frmviewer::cmdSpause_Click);
    onClick(cmdSend, this, &frmviewer::cmdSend_Click);
    onClick(Command1, this, &frmviewer::Command1_Click);
    onClick(Command2, this, &frmviewer::Command2_Click);
    onClick(Command3, this, &frmviewer::Command3_Click);
    onClick(Command4, this, &frmviewer::Command4_Click);
    onClick(Command20, this, &frmviewer::Command20_Click);
    on(Ik5Slide1, &imaging::Ik5Slide::slideShown, this, &frmviewer::Ik5Slide1_slideShown);
    onClick(Command17, this, &frmviewer::Command17_Click);
    onClick(Command19, this, &frmviewer::Command19_Click);
    onClick(Command9, this, &frmviewer::Command9_Click);
    onClick(cmdResize, this, &frmviewer::cmdResize_Click);
    onClick(cmdRcancel, this, &frmviewer::cmdRcancel_Click);
    onClick(Command23, this, &frmviewer::Command23_Click);
}

void frmviewer::Form_Load()
{
    platform::setOuterSizeTwips(this, kOuterWidth, kOuterHeight);
    Ik5Slide1->hide();
    Ik5File1->setHandle(0);
    Option1->setChecked(true);
    for (QWidget *frame : {static_cast<QWidget *>(Frame3), static_cast<QWidget *>(Frame2),
                           static_cast<QWidget *>(Frame4), static_cast<QWidget *>(Frame5)})
        frame->hide();
    Image3->setEnabled(false);
    Image8->setEnabled(false);
    Image6->setEnabled(false);
    Command6->setEnabled(false);
    Command8->setEnabled(false);
    Command5->setEnabled(false);
    Command11->setEnabled(false);
    Label8->hide();
    Command18->setEnabled(false);
    cmdTcancel->setEnabled(false);
}

void frmviewer::paintEvent(QPaintEvent *)
{
    QPainter(this).drawPixmap(0, 0, m_background);
}

void frmviewer::showPanel(QWidget *panel)
{
    panel->show();
    panel->move(Image5->pos());
    panel->raise();
}

void frmviewer::setImageButtonsEnabled(bool enabled)
{
    for (QWidget *control : {static_cast<QWidget *>(Image3), static_cast<QWidget *>(Image8),
                             static_cast<QWidget *>(Image1), static_cast<QWidget *>(Image6),
                             static_cast<QWidget *>(Command6), static_cast<QWidget *>(Command8)})
        control->setEnabled(enabled);
}

void frmviewer::replaceWorkingImage(imaging::Handle newImage)
{
    const imaging::Handle old = Ik5Disp1->handle();
    Ik5Disp1->setHandle(newImage); // the old image is shown no more
    if (old != newImage) {
        Ik5Common1->setHandle(old);
        Ik5Common1->release();
    }
    imaging::showInDisplay(Ik5Disp1, newImage);
}

bool frmviewer::hasWorkingImage() const
{
    return imaging::ImageStore::instance().contains(Ik5Disp1->handle());
}

void frmviewer::showDisplayInFront()
{
    Ik5Slide1->hide();
    Ik5Disp1->show();
    Ik5Disp1->bringToFront();
}

void frmviewer::Command6_Click()
{
    showDisplayInFront();
    showPanel(Frame2);
}

void frmviewer::Command10_Click()
{
    platform::setOuterSizeTwips(this, kOuterWidth, kOuterHeight);
    Label19->clear();
}

void frmviewer::Command17_Click()
{
    Frame4->hide();
}

void frmviewer::showOverPanelArea(platform::Form *child)
{
    child->Show();
    const QPoint at = platform::positionTwips(this);
    platform::moveTwips(child, at.x() + kPanelAreaLeft, at.y() + kPanelAreaTop);
}

void frmviewer::showOnMainWindow(platform::Form *child)
{
    child->Show();
    const QPoint at = platform::positionTwips(this);
    platform::moveTwips(child, at.x(), at.y());
}
