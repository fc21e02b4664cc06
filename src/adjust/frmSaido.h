#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "adjust/PreviewDialog.h"

// The saturation dialog: one level, typed or slid, tried on the working
// image in a preview display of its own, then applied to the main window or
// thrown away. The input is the image the main window showed when the
// dialog opened; every move starts again from it, so moves never add up.
// Cancel leaves the main window untouched.
class frmSaido : public adjust::PreviewDialog
{
    Q_OBJECT

public:
    frmSaido();

    // Ik5Disp1 (preview), Command1 to Command4, Ik5Effect1 and Ik5Common1
    // come with the preview dialog.
    QLabel *Label1;             // 彩度のレベル(-100 - 1000)
    QLineEdit *Text1;           // the level as text
    QLabel *Label2;             // scale above the bar
    QScrollBar *HScroll1;       // the level -100..1000

    void Form_Load() override;
    void HScroll1_Change();
    void Text1_Change();
    void Command1_Click() override;
    void Command3_Click() override;
    void Command4_Click() override;

private:
    // The level the text box holds, rounded to 32 bits; throws on overflow.
    [[nodiscard]] qint32 typedLevel() const;
    // The input at that level, as a new image made here; 0 without a call
    // once another window has released the input.
    [[nodiscard]] imaging::Handle saturated(qint32 level);
};
