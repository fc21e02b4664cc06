#include "adjust/frmSaido.h"

#include "app/Design.h"
#include "app/Form2.h"
#include "rules/TextRules.h"
#include "platform/Events.h"
#include "platform/MessageBox.h"

using design::control;

namespace {
constexpr qint16 kColourOption = 1;
} // namespace

frmSaido::frmSaido()
    : PreviewDialog("frmSaido", QStringLiteral("彩度調整"), {{120, 540, 960, 1380}, {315, 315, 315, 315}})
{
    Label1 = control<QLabel>(this, "Label1", QStringLiteral("彩度のレベル(-100 - 1000)"), 120, 3780, 2085, 180);
    Text1 = control<QLineEdit>(this, "Text1", QString(), 2340, 3720, 1095, 270);
    Label2 = control<QLabel>(this, "Label2",
                             QStringLiteral("-100     0                                                        1000"),
                             120, 4080, 4470, 180);
    HScroll1 = control<QScrollBar>(this, "HScroll1", 180, 4380, 4455, 255);
    design::setBarRange(HScroll1, adjust::kMinSaturation, adjust::kMaxSaturation, 1, 1);

    platform::onChange(HScroll1, this, &frmSaido::HScroll1_Change);
    platform::onChange(Text1, this, &frmSaido::Text1_Change);
}

void frmSaido::Form_Load()
{
    Command2->setEnabled(false);
    // The input of every saturation call while the dialog is open.
    Ik5Effect1->setSource(adjust::workingImage());
    showPreview(Ik5Effect1->source());
    Text1->setText(QString::number(HScroll1->value()));
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

void frmSaido::Command3_Click()
{
    showPreview(adjust::workingImage());
    HScroll1->setValue(0);
    releaseUnusedImages();
}

void frmSaido::Command4_Click()
{
    endDialog();
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
    madeHere(made);
    return made;
}
