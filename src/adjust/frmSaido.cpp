#include "adjust/frmSaido.h"

#include "app/Design.h"
#include "app/Form2.h"
#include "rules/TextRules.h"
#include "platform/Events.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "viewer/frmviewer.h"

using design::control;

namespace {
constexpr qint16 kColourOption = 1;
} // namespace

frmSaido::frmSaido()
    : Ik5Effect1(new imaging::Ik5Effect(this))
    , Ik5Common1(new imaging::Ik5Common(this))
    , m_madeHere(Ik5Common1)
{
    setObjectName(QStringLiteral("frmSaido"));
    setWindowTitle(QStringLiteral("彩度調整"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::twipsRect(0, 0, 4785, 4800).size());

    Ik5Disp1 = new imaging::Ik5Disp(this);
    Ik5Disp1->setObjectName(QStringLiteral("Ik5Disp1"));
    platform::place(Ik5Disp1, 60, 60, 3435, 3435);
    Command1 = control<QPushButton>(this, "Command1", QStringLiteral("プレビュー"), 3600, 120, 1155, 315);
    Command2 = control<QPushButton>(this, "Command2", QStringLiteral("決定"), 3600, 540, 1155, 315);
    Command3 = control<QPushButton>(this, "Command3", QStringLiteral("リセット"), 3600, 960, 1155, 315);
    Command4 = control<QPushButton>(this, "Command4", QStringLiteral("中止"), 3600, 1380, 1155, 315);
    Label1 = control<QLabel>(this, "Label1", QStringLiteral("彩度のレベル(-100 - 1000)"), 120, 3780, 2085, 180);
    Text1 = control<QLineEdit>(this, "Text1", QString(), 2340, 3720, 1095, 270);
    Label2 = control<QLabel>(this, "Label2",
                             QStringLiteral("-100     0                                                        1000"),
                             120, 4080, 4470, 180);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    platform::place(HScroll1, 180, 4380, 4455, 255);
    HScroll1->setRange(adjust::kMinSaturation, adjust::kMaxSaturation);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    Ik5Effect1->setObjectName(QStringLiteral("Ik5Effect1"));
    Ik5Common1->setObjectName(QStringLiteral("Ik5Common1"));

    platform::onChange(HScroll1, this, &frmSaido::HScroll1_Change);
    platform::onChange(Text1, this, &frmSaido::Text1_Change);
    platform::onClick(Command1, this, &frmSaido::Command1_Click);
    platform::onClick(Command2, this, &frmSaido::Command2_Click);
    platform::onClick(Command3, this, &frmSaido::Command3_Click);
    platform::onClick(Command4, this, &frmSaido::Command4_Click);
}

void frmSaido::Form_Load()
{
    Command2->setEnabled(false);
    // The input of every saturation call while the dialog is open.
    Ik5Effect1->setSource(adjust::workingImage());
    showPreview(Ik5Effect1->source());
    Text1->setText(QString::number(HScroll1->value()));
}

void frmSaido::Form_Unload()
{
    // Whatever way the dialog ends, the images it made go, except the one
    // Apply gave the main window.
    m_madeHere.releaseAllBut({adjust::workingImage()});
}

void frmSaido::HScroll1_Change()
{
    Text1->setText(QString::number(HScroll1->value()));
    showPreview(saturated(typedLevel()));
    releaseUnusedImages();
}

void frmSaido::Text1_Change()
{
    const std::optional<qint16> bar = adjust::saturationBarValue(Text1->text());
    if (!bar) {
        // The text stays as typed; the bar and the preview stay as they were.
        platform::messageBox(QStringLiteral("値が許容範囲を超えています。"), platform::msgbox::OkOnly,
                             QStringLiteral("警告"));
        return;
    }
    HScroll1->setValue(*bar);
}

void frmSaido::Command1_Click()
{
    // The text box as it is, without the range test: a level the warning
    // refused is passed on, and the suite decides. One that does not fit
    // in 32 bits fails here, before anything changes.
    const qint32 level = typedLevel();
    imaging::Handle preview = 0;
    {
        ProgressDialogScope progress(adjust::processingStatus());
        preview = saturated(level);
    }
    showPreview(preview);
    Command2->setEnabled(true);
    releaseUnusedImages();
}

void frmSaido::Command2_Click()
{
    // A preview whose image another window released applies nothing.
    adjust::applyToMainWindow(Ik5Disp1->handle());
    adjust::hideAdjustmentsPanel();
    forms::unload<frmSaido>();
}

void frmSaido::Command3_Click()
{
    showPreview(adjust::workingImage());
    HScroll1->setValue(0);
    releaseUnusedImages();
}

void frmSaido::Command4_Click()
{
    adjust::hideAdjustmentsPanel();
    forms::unload<frmSaido>();
}

qint32 frmSaido::typedLevel() const
{
    return textrules::toInt32(textrules::leadingNumber(Text1->text()));
}

imaging::Handle frmSaido::saturated(qint32 level)
{
    // Once another window has released the input, there is nothing to
    // saturate: the preview shows no image, without a message per move.
    if (!imaging::ImageStore::instance().contains(Ik5Effect1->source()))
        return 0;
    Ik5Effect1->setOptionMode(kColourOption);
    const imaging::Handle made = Ik5Effect1->saturation(0, 0, 0, level);
    m_madeHere.add(made);
    return made;
}

void frmSaido::showPreview(imaging::Handle image)
{
    Ik5Disp1->setHandle(image);
    adjust::redrawInFitMode(Ik5Disp1);
}

void frmSaido::releaseUnusedImages()
{
    m_madeHere.releaseAllBut({Ik5Disp1->handle(), Ik5Effect1->source(), adjust::workingImage()});
}
