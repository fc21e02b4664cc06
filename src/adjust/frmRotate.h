#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/Design.h"
#include "platform/Forms.h"

// The rotate dialog: turns the main window's image right or left by 90
// degrees or by 180, mirrors it, or turns it by a typed angle. It has no
// imaging controls of its own: each operation runs the main window's effect
// control on the image the main display shows at the click, puts the result
// into the main display, and closes the dialog once an operation succeeded.
class frmRotate : public platform::Form
{
    Q_OBJECT

public:
    frmRotate();

    QPushButton *Command1; // 右90度
    QPushButton *Command2; // 左90度
    QPushButton *Command3; // 180度
    QPushButton *Command5; // 鏡像水平
    QPushButton *Command6; // 鏡像垂直
    QCheckBox *Check1;     // 角度入力, the title of Frame1
    design::Frame *Frame1; // the angle entry
    QRadioButton *Option1; // 時計方向
    QRadioButton *Option2; // 反時計方向
    QLineEdit *Text1;      // angle in degrees
    QLabel *Label1;        // 度
    QPushButton *Command4; // 決定
    QPushButton *Command8; // Cancel

    void Form_Load() override;
    void Check1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command8_Click();

private:
    // One rotate call of the main window's effect control on the working
    // image, with the arguments of the operation. With no image it does
    // nothing; a failed call leaves everything as it was and the dialog open.
    void turnWorkingImage(qint32 angle, qint32 mirrorHorizontal, qint32 mirrorVertical, qint32 freeAngle);
};
