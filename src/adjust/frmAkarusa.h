#pragma once

#include <QLabel>
#include <QScrollBar>

#include "adjust/PreviewDialog.h"

// The brightness and contrast dialog: the user tries both on the working
// image in a preview display of its own, then applies the preview to the
// main window or throws it away.
//
// Brightness always starts from a saved copy of the image as it was when
// the dialog opened. Contrast starts from the working image while the
// brightness is 0, otherwise from the preview, so contrast moves add up
// until the brightness moves again. The preview button applies both values
// to the image the main window shows at that moment.
class frmAkarusa : public adjust::PreviewDialog
{
    Q_OBJECT

public:
    frmAkarusa();

    // Ik5Disp1 (preview), Command1 to Command4, Ik5Effect1 and Ik5Common1
    // come with the preview dialog.
    QLabel *Label4;             // scale above the brightness bar
    QLabel *Label1;             // 明るさ
    QLabel *Label3;             // the brightness value
    QScrollBar *HScroll1;       // brightness -255..255
    QLabel *Label2;             // コントラスト
    QScrollBar *HScroll2;       // contrast -30..30, tenths

    // The last values of the bars: brightness as it is, contrast in -3.0..3.0.
    qint16 brightness = 0;
    double contrast = 0.0;

    void Form_Load() override;
    void Form_Unload() override;
    void HScroll1_Change();
    void HScroll2_Change();
    void Command1_Click() override;
    void Command3_Click() override;
    void Command4_Click() override;

private:
    void setBrightnessCaption(const QString &text);
    void showNothing();

    // The working image when the dialog opened, from which the saved copy
    // was taken.
    imaging::Handle m_openedWith = 0;
};
