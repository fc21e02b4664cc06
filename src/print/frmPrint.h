#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "imaging/core/Ik5Common.h"
#include "imaging/core/Ik5Effect.h"
#include "imaging/print/Ik5Print.h"
#include "imaging/widgets/Ik5Disp.h"
#include "platform/Forms.h"

// The print window "Print Image": the main window's image with its file
// name, size, width and height in boxes the user may edit, and a memo;
// "プリント" prints them on one page under a header line. The image is the
// main window's, shared, not copied: once the main window releases it, it
// prints as no image.
class frmPrint : public platform::Form
{
    Q_OBJECT

public:
    frmPrint();

    // The printer settings file, in the current folder.
    static inline const QString kSettingsFile = QStringLiteral("Ik5Prn.Ik5");

    imaging::Ik5Disp *Ik5Disp1;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
    QLineEdit *Text1; // file name
    QLineEdit *Text2; // size in Kbyte
    QLineEdit *Text3; // width in pixels
    QLineEdit *Text4; // height in pixels
    QPlainTextEdit *Text5; // memo
    QPushButton *cmdSetprint; // プリンター設定
    QPushButton *cmdPrint;    // プリント
    QPushButton *cmdPcancel;  // 終了
    imaging::Ik5Print *Ik5Print1;
    imaging::Ik5Effect *Ik5Effect1;
    imaging::Ik5Common *Ik5Common1;

    void Form_Load() override;
    void cmdSetprint_Click();
    void cmdPrint_Click();
    void cmdPcancel_Click();

    // Draws the whole page on the open job's device.
    void Disp(imaging::Ik5Print::Device &device);

private:
    // The attributes of the header, then of each information line.
    void setHeaderStyle();
    void setLineStyle();
};
