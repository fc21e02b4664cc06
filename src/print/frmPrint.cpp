#include "print/frmPrint.h"

#include "app/Design.h"
#include "imaging/widgets/DisplaySteps.h"
#include "platform/Events.h"
#include "platform/Twips.h"
#include "viewer/frmviewer.h"

using design::control;

namespace {

const QString kPageFont = QStringLiteral("ＭＳ ゴシック");
constexpr double kHeaderPoints = 20;
constexpr double kLinePoints = 12;

} // namespace

frmPrint::frmPrint()
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Print Image"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::setClientSizeTwips(this, 7365, 5085);

    Ik5Disp1 = control<imaging::Ik5Disp>(this, "Ik5Disp1", 60, 120, 4875, 4875);
    Label1 = control<QLabel>(this, "Label1", QStringLiteral("File Name"), 5040, 180, 780, 180);
    Text1 = control<QLineEdit>(this, "Text1", QString(), 5040, 360, 2115, 270);
    Label2 = control<QLabel>(this, "Label2", QStringLiteral("Size"), 5040, 660, 315, 180);
    Text2 = control<QLineEdit>(this, "Text2", QString(), 5040, 840, 1515, 270);
    Label3 = control<QLabel>(this, "Label3", QStringLiteral("Kbyte"), 6660, 960, 435, 180);
    Label4 = control<QLabel>(this, "Label4", QStringLiteral("Width"), 5040, 1140, 420, 180);
    Text3 = control<QLineEdit>(this, "Text3", QString(), 5100, 1320, 1455, 270);
    Label5 = control<QLabel>(this, "Label5", QStringLiteral("Pixcel"), 6600, 1440, 465, 180);
    Label6 = control<QLabel>(this, "Label6", QStringLiteral("Hight"), 5040, 1620, 405, 180);
    Text4 = control<QLineEdit>(this, "Text4", QString(), 5100, 1800, 1455, 270);
    Label7 = control<QLabel>(this, "Label7", QStringLiteral("Pixcel"), 6660, 1920, 465, 180);
    Label8 = control<QLabel>(this, "Label8", QStringLiteral("Memo"), 5040, 2100, 450, 180);
    // Multi-line with both scroll bars: lines break only where the user breaks them.
    Text5 = control<QPlainTextEdit>(this, "Text5", QString(), 5100, 2280, 2115, 1515);
    Text5->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text5->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text5->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cmdSetprint = control<QPushButton>(this, "cmdSetprint", QStringLiteral("プリンター設定"), 5160, 3960, 2115, 255);
    cmdPrint = control<QPushButton>(this, "cmdPrint", QStringLiteral("プリント"), 5160, 4320, 2115, 255);
    cmdPcancel = control<QPushButton>(this, "cmdPcancel", QStringLiteral("終了"), 5160, 4680, 2115, 255);

    Ik5Print1 = design::faceless<imaging::Ik5Print>(this, "Ik5Print1");
    Ik5Effect1 = design::faceless<imaging::Ik5Effect>(this, "Ik5Effect1");
    Ik5Common1 = design::faceless<imaging::Ik5Common>(this, "Ik5Common1");

    platform::onClick(cmdSetprint, this, &frmPrint::cmdSetprint_Click);
    platform::onClick(cmdPrint, this, &frmPrint::cmdPrint_Click);
    platform::onClick(cmdPcancel, this, &frmPrint::cmdPcancel_Click);
}

void frmPrint::Form_Load()
{
    Ik5Disp1->setStep(imaging::Ik5Disp::kStepClear);
    Ik5Disp1->perform();
    frmviewer *viewer = mainWindowIfLoaded();
    if (!viewer)
        return;
    imaging::showInDisplay(Ik5Disp1, viewer->Ik5Disp1->handle());
    Text1->setText(viewer->Text1->text());
    Text2->setText(viewer->Text2->text());
    Text3->setText(viewer->Text3->text());
    Text4->setText(viewer->Text4->text());
    Ik5Effect1->setSource(Ik5Disp1->handle());
}

void frmPrint::cmdSetprint_Click()
{
    Ik5Print1->setSettingsFile(kSettingsFile);
    // Owned by the main window, though opened from here.
    frmviewer *viewer = mainWindowIfLoaded();
    Ik5Print1->setupDialog(viewer ? static_cast<QWidget *>(viewer) : this);
}

void frmPrint::cmdPrint_Click()
{
    Ik5Print1->setSettingsFile(kSettingsFile);
    // A job that cannot start throws before anything is drawn.
    imaging::Ik5Print::Device device = Ik5Print1->openJob(this);
    try {
        Ik5Print1->startPage(device);
        Disp(device);
        Ik5Print1->endPage(device);
        Ik5Print1->endJob(device);
    } catch (...) {
        Ik5Print1->abortJob(device); // no half page reaches a printer or a file
        throw;
    }
}

void frmPrint::cmdPcancel_Click()
{
    forms::unload<frmPrint>();
}

void frmPrint::Disp(imaging::Ik5Print::Device &device)
{
    Ik5Print1->setOutput(imaging::Ik5Print::kOutputPrinter);
    // A released image (the main window closed or replaced it) draws nothing.
    const imaging::Handle image = Ik5Effect1->source();
    if (image != 0)
        Ik5Print1->drawImage(device, image, 200, 800, 1500, 1500, imaging::Ik5Print::kFitKeepAspect);

    setHeaderStyle();
    Ik5Print1->setText(QStringLiteral("Morvell Image Synth"));
    Ik5Print1->drawTextInBox(device, 50, 50, 1500, 1000);

    const std::pair<QString, int> lines[] = {
        {QStringLiteral("File Name ") + Text1->text(), 180},
        {QStringLiteral(" Size ") + Text2->text() + QStringLiteral("Kbyte"), 360},
        {QStringLiteral(" Width ") + Text3->text() + QStringLiteral("Pixcel"), 440},
        {QStringLiteral(" Hight ") + Text4->text() + QStringLiteral("Pixcel"), 520},
        {QStringLiteral(" Memo : ") + Text5->toPlainText(), 600},
    };
    for (const auto &[text, top] : lines) {
        setLineStyle();
        Ik5Print1->setText(text);
        Ik5Print1->drawTextAt(device, 10, top);
    }
}

void frmPrint::setHeaderStyle()
{
    Ik5Print1->resetText();
    Ik5Print1->setFontName(kPageFont);
    Ik5Print1->setFontSize(kHeaderPoints);
    Ik5Print1->setBackColour(0);       // [70]
    Ik5Print1->setTextColour(0);       // [69]
    Ik5Print1->setHorizontalPlace(0);  // [71]
    Ik5Print1->setVerticalPlace(0);    // [72]
    Ik5Print1->setBold(true);          // [64]
    Ik5Print1->setTransparent(true);   // [65]
    Ik5Print1->setWordWrap(true);      // [68]
}

void frmPrint::setLineStyle()
{
    Ik5Print1->resetText();
    Ik5Print1->setFontName(kPageFont);
    Ik5Print1->setFontSize(kLinePoints);
    Ik5Print1->setHorizontalPlace(1);  // [71]
    Ik5Print1->setVerticalPlace(1);    // [72]
    Ik5Print1->setTransparent(true);   // [65]
    Ik5Print1->setWordWrap(true);      // [68]
}
