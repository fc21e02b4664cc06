// The quick resize panel: the working image resized in memory by the long
// or short side, a target size in Kbyte or a free width and height, and the
// way into the batch resize window.

#include "viewer/frmviewer.h"

#include "app/Form2.h"
#include "base/Error.h"
#include "batch/frmResize.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "rules/ErrorLog.h"
#include "rules/TextRules.h"

namespace {
// Asks the suite for its high-quality filter.
constexpr qint32 kBestFilter = -1;
} // namespace

void frmviewer::Command19_Click()
{
    showPanel(Frame5);
    Frame4->hide();
    Command23->setEnabled(true);
}

void frmviewer::cmdRcancel_Click()
{
    for (QLineEdit *box : {Text5, Text6, Text7, Text8, Text9})
        box->clear();
    Frame5->hide();
}

// The batch resize works with the main window gone; it returns, in its
// start state, when the batch window is cancelled or a run ends. Unloading
// releases the images this window holds.
void frmviewer::Command23_Click()
{
    auto *batchWindow = forms::get<frmResize>();
    platform::centreTwips(batchWindow, QRect(platform::positionTwips(this), platform::outerSizeTwips(this)));
    batchWindow->Show();
    forms::unload<frmviewer>();
}

void frmviewer::cmdResize_Click()
{
    // Any of the three boxes filled passes, whichever rule is selected, and
    // the free rule passes with its boxes empty: a wrong box is a failure
    // of the resize, recorded in the log.
    if (Text5->text().isEmpty() && Text6->text().isEmpty() && Text7->text().isEmpty() && !Option5->isChecked()) {
        platform::messageBox(QStringLiteral("数値を入力して下さい"), platform::msgbox::OkOnly, QStringLiteral("Caution"));
        Frame5->hide();
        return;
    }
    try {
        resizeWorkingImage();
    } catch (const imaging::Error &error) {
        // Not shown: the record says what went wrong, the panel stays open
        // with the values typed and the image as it was.
        errorlog::AppendErrorRecord(Text1->text(), error.description());
    }
}

sizerules::RuleTexts frmviewer::quickResizeRule() const
{
    using sizerules::Rule;
    if (Option3->isChecked()) {
        if (optShort->isChecked())
            return {Rule::ShortSide, Text6->text(), {}, {}, {}};
        return {Rule::LongSide, Text5->text(), {}, {}, {}};
    }
    if (Option5->isChecked())
        return {Rule::Free, {}, Text8->text(), Text9->text(), {}};
    return {Rule::Kbyte, {}, {}, {}, Text7->text()};
}

// Throws imaging::Error when a box does not convert, a size overflows or
// the suite fails; the displayed image is then unchanged.
void frmviewer::resizeWorkingImage()
{
    // A released image counts as none: a silent stop, the panel stays.
    if (!hasWorkingImage())
        return;
    const imaging::Handle source = Ik5Disp1->handle();
    Ik5Effect1->setSource(source);
    Ik5Common1->setHandle(source);
    Ik5Common1->readAttributes();
    const sizerules::PixelSize current{Ik5Common1->width(), Ik5Common1->height()};
    imaging::Handle resized = 0;
    {
        // Closed on every way out, a failure's too.
        const ProgressDialogScope progress(Text1->text() + QStringLiteral("処理中"));
        const sizerules::PixelSize size = sizerules::newSize(quickResizeRule(), current);
        resized = Ik5Effect1->resize(size.width, size.height, kBestFilter);
    }
    // Less than a pixel asked for: the image, the boxes and the panel stay.
    if (resized == 0)
        return;
    replaceWorkingImage(resized);
    Ik5Common1->setHandle(resized);
    Ik5Common1->readAttributes();
    Text3->setText(QString::number(Ik5Common1->width()));
    Text4->setText(QString::number(Ik5Common1->height()));
    Text2->setText(textrules::formatNumber(static_cast<double>(Ik5Common1->dataSize()) / 1000.0));
    cmdRcancel_Click();
}
