#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "adjust/AdjustCommon.h"
#include "imaging/core/Ik5Common.h"
#include "imaging/core/Ik5Effect.h"
#include "imaging/widgets/Ik5Disp.h"
#include "platform/Forms.h"

// The saturation dialog: one level, typed or slid, tried on the working
// image in a preview display of its own, then applied to the main window or
// thrown away. The input is the image the main window showed when the
// dialog opened; every move starts again from it, so moves never add up.
// Cancel leaves the main window untouched.
class frmSaido : public platform::Form
{
    Q_OBJECT

public:
    frmSaido();

    imaging::Ik5Disp *Ik5Disp1; // preview
    QPushButton *Command1;      // プレビュー
    QPushButton *Command2;      // 決定
    QPushButton *Command3;      // リセット
    QPushButton *Command4;      // 中止
    QLabel *Label1;             // 彩度のレベル(-100 - 1000)
    QLineEdit *Text1;           // the level as text
    QLabel *Label2;             // scale above the bar
    QScrollBar *HScroll1;       // the level -100..1000
    imaging::Ik5Effect *Ik5Effect1;
    imaging::Ik5Common *Ik5Common1;

    void Form_Load() override;
    void Form_Unload() override;
    void HScroll1_Change();
    void Text1_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

private:
    // The level the text box holds, rounded to 32 bits; throws on overflow.
    [[nodiscard]] qint32 typedLevel() const;
    // The input at that level, as a new image made here; 0 without a call
    // once another window has released the input.
    [[nodiscard]] imaging::Handle saturated(qint32 level);
    void showPreview(imaging::Handle image);
    // Keeps the input, what the preview shows and the working image;
    // releases every other image this dialog made.
    void releaseUnusedImages();

    adjust::OwnedImages m_madeHere;
};
