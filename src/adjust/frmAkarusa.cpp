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

QScrollBar *scrollBar(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    auto *bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    platform::place(bar, left, top, width, height);
    return bar;
}

} // namespace

frmAkarusa::frmAkarusa()
    : Ik5Effect1(new imaging::Ik5Effect(this))
    , Ik5Common1(new imaging::Ik5Common(this))
    , m_madeHere(Ik5Common1)
{
    setObjectName(QStringLiteral("frmAkarusa"));
    setWindowTitle(QStringLiteral("明るさ  コントラスト"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::twipsRect(0, 0, 4785, 4800).size());

    Ik5Disp1 = new imaging::Ik5Disp(this);
    Ik5Disp1->setObjectName(QStringLiteral("Ik5Disp1"));
    platform::place(Ik5Disp1, 60, 60, 3435, 3435);
    Command1 = control<QPushButton>(this, "Command1", QStringLiteral("プレビュー"), 3600, 60, 1155, 375);
    Command2 = control<QPushButton>(this, "Command2", QStringLiteral("決定"), 3600, 540, 1155, 315);
    Command3 = control<QPushButton>(this, "Command3", QStringLiteral("リセット"), 3600, 1020, 1155, 315);
    Command4 = control<QPushButton>(this, "Command4", QStringLiteral("中止"), 3600, 1500, 1155, 315);
    Label4 = control<QLabel>(this, "Label4",
                             QStringLiteral("-255                    0                     255         "), 1440,
                             3600, 3195, 255);
    Label1 = control<QLabel>(this, "Label1", QStringLiteral("明るさ"), 120, 3900, 465, 180);
    Label3 = control<QLabel>(this, "Label3", QStringLiteral("0"), 1200, 3900, 90, 180);
    HScroll1 = scrollBar(this, "HScroll1", 1440, 3840, 3195, 255);
    HScroll1->setRange(-255, 255);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    Label2 = control<QLabel>(this, "Label2", QStringLiteral("コントラスト"), 120, 4410, 855, 180);
    HScroll2 = scrollBar(this, "HScroll2", 1440, 4380, 3195, 255);
    HScroll2->setRange(-30, 30);
    HScroll2->setSingleStep(1);
    HScroll2->setPageStep(2);
    Ik5Effect1->setObjectName(QStringLiteral("Ik5Effect1"));
    Ik5Common1->setObjectName(QStringLiteral("Ik5Common1"));

    platform::onChange(HScroll1, this, &frmAkarusa::HScroll1_Change);
    platform::onChange(HScroll2, this, &frmAkarusa::HScroll2_Change);
    platform::onClick(Command1, this, &frmAkarusa::Command1_Click);
    platform::onClick(Command2, this, &frmAkarusa::Command2_Click);
    platform::onClick(Command3, this, &frmAkarusa::Command3_Click);
    platform::onClick(Command4, this, &frmAkarusa::Command4_Click);
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
    // Whatever way the dialog ends, the images it made go, except the one
    // Apply gave the main window.
    m_madeHere.releaseAllBut({adjust::workingImage()});
    Ik5Effect1->dropCopy();
}

void frmAkarusa::HScroll1_Change()
{
    setBrightnessCaption(QString::number(HScroll1->value()));
    brightness = static_cast<qint16>(HScroll1->value());
    m_madeHere.add(Ik5Effect1->newFromCopy());
    Ik5Effect1->setSource(Ik5Effect1->result());
    Ik5Effect1->setOptionMode(kColourOption);
    m_madeHere.add(Ik5Effect1->brightness(0, 0, 0, brightness, brightness, brightness));
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
    m_madeHere.add(Ik5Effect1->contrast(0, 0, 0, contrast, contrast, contrast));
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
        m_madeHere.add(Ik5Effect1->brightness(0, 0, 0, brightness, brightness, brightness));
        Ik5Effect1->setSource(Ik5Effect1->result());
        Ik5Effect1->setOptionMode(kColourOption);
        m_madeHere.add(Ik5Effect1->contrast(0, 0, 0, contrast, contrast, contrast));
    }
    showPreview(Ik5Effect1->result());
    Command2->setEnabled(true);
    releaseUnusedImages();
}

void frmAkarusa::Command2_Click()
{
    // A preview whose image another window released applies nothing.
    adjust::applyToMainWindow(Ik5Disp1->handle());
    adjust::hideAdjustmentsPanel();
    forms::unload<frmAkarusa>();
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
    const frmviewer *viewer = adjust::mainWindow();
    if (viewer && viewer->Ik5Disp1->handle() == m_openedWith && viewer->Ik5Disp1->isShowingImage())
        adjust::applyToMainWindow(Ik5Effect1->newFromCopy());
    Ik5Effect1->dropCopy();
    adjust::hideAdjustmentsPanel();
    forms::unload<frmAkarusa>();
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

void frmAkarusa::showPreview(imaging::Handle image)
{
    Ik5Disp1->setHandle(image);
    adjust::redrawInFitMode(Ik5Disp1);
}

void frmAkarusa::showNothing()
{
    // With no image to work on the preview shows none, so it never offers
    // a result the bars no longer describe, and Apply then applies nothing.
    showPreview(0);
    releaseUnusedImages();
}

void frmAkarusa::releaseUnusedImages()
{
    m_madeHere.releaseAllBut({Ik5Disp1->handle(), Ik5Effect1->source(), adjust::workingImage()});
}
