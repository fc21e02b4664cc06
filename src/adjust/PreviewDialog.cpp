#include "adjust/PreviewDialog.h"

#include "app/Design.h"
#include "imaging/widgets/DisplaySteps.h"
#include "platform/Events.h"
#include "platform/Twips.h"

namespace adjust {

PreviewDialog::PreviewDialog(const char *name, const QString &title, const ButtonRows &buttons)
    : Ik5Effect1(new imaging::Ik5Effect(this))
    , Ik5Common1(new imaging::Ik5Common(this))
    , m_madeHere(Ik5Common1)
{
    using design::control;
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::setClientSizeTwips(this, 4785, 4800);

    Ik5Disp1 = control<imaging::Ik5Disp>(this, "Ik5Disp1", 60, 60, 3435, 3435);
    const auto button = [&](int row, const char *buttonName, const char *caption) {
        return control<QPushButton>(this, buttonName, QString::fromUtf8(caption), 3600, buttons.tops[row], 1155,
                                    buttons.heights[row]);
    };
    Command1 = button(0, "Command1", "プレビュー");
    Command2 = button(1, "Command2", "決定");
    Command3 = button(2, "Command3", "リセット");
    Command4 = button(3, "Command4", "中止");
    Ik5Effect1->setObjectName(QStringLiteral("Ik5Effect1"));
    Ik5Common1->setObjectName(QStringLiteral("Ik5Common1"));

    platform::onClick(Command1, this, &PreviewDialog::Command1_Click);
    platform::onClick(Command2, this, &PreviewDialog::Command2_Click);
    platform::onClick(Command3, this, &PreviewDialog::Command3_Click);
    platform::onClick(Command4, this, &PreviewDialog::Command4_Click);
}

void PreviewDialog::Form_Unload()
{
    m_madeHere.releaseAllBut({workingImage()});
}

void PreviewDialog::Command2_Click()
{
    applyToMainWindow(Ik5Disp1->handle());
    endDialog();
}

void PreviewDialog::showPreview(imaging::Handle image)
{
    Ik5Disp1->setHandle(image);
    imaging::redrawInFitMode(Ik5Disp1);
}

void PreviewDialog::releaseUnusedImages()
{
    m_madeHere.releaseAllBut({Ik5Disp1->handle(), Ik5Effect1->source(), workingImage()});
}

void PreviewDialog::endDialog()
{
    hideAdjustmentsPanel();
    forms::unload(this);
}

} // namespace adjust
