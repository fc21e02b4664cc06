#pragma once

#include <QPushButton>
#include <QString>

#include "adjust/AdjustCommon.h"
#include "imaging/core/Ik5Common.h"
#include "imaging/core/Ik5Effect.h"
#include "imaging/widgets/Ik5Disp.h"
#include "platform/Forms.h"

namespace adjust {

// What the brightness/contrast and saturation dialogs share: a window of
// the same size with a preview display and four buttons on its right, an
// effect control whose results the dialog owns, Apply, and the way both
// end. The dialogs add their bars and boxes and the click handlers of
// プレビュー, リセット and 中止; all four buttons are wired here.
class PreviewDialog : public platform::Form
{
    Q_OBJECT

public:
    imaging::Ik5Disp *Ik5Disp1; // preview
    QPushButton *Command1;      // プレビュー
    QPushButton *Command2;      // 決定
    QPushButton *Command3;      // リセット
    QPushButton *Command4;      // 中止
    imaging::Ik5Effect *Ik5Effect1;
    imaging::Ik5Common *Ik5Common1;

    // Whatever way the dialog ends, the images it made go, except the one
    // Apply gave the main window.
    void Form_Unload() override;
    virtual void Command1_Click() = 0;
    // Apply: the preview's image into the main window (nothing when another
    // window released it meanwhile), then the dialog ends.
    void Command2_Click();
    virtual void Command3_Click() = 0;
    virtual void Command4_Click() = 0;

protected:
    // Tops and heights of the four buttons, in twips, as each design has them.
    struct ButtonRows
    {
        int tops[4];
        int heights[4];
    };
    PreviewDialog(const char *name, const QString &title, const ButtonRows &buttons);

    void showPreview(imaging::Handle image);
    // An image this dialog's effect control made: the dialog releases it.
    void madeHere(imaging::Handle image) { m_madeHere.add(image); }
    // Keeps what the preview shows, the effect's input and the working
    // image; releases every other image this dialog made.
    void releaseUnusedImages();
    // How Apply and Cancel end: the main window's adjustments panel hides
    // and the dialog unloads.
    void endDialog();

private:
    OwnedImages m_madeHere;
};

} // namespace adjust
