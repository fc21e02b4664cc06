#include "adjust/frmRotate.h"

#include "adjust/AdjustCommon.h"
#include "app/Form2.h"
#include "platform/Events.h"
#include "platform/Twips.h"
#include "viewer/frmviewer.h"

using design::control;

namespace {

// The effect's angle conventions: a fixed turn passes a negative angle for
// clockwise, a typed angle a positive one (see Ik5Effect::rotate).
constexpr qint32 kFixedRight90 = -9000;
constexpr qint32 kFixedLeft90 = 9000;
constexpr qint32 kFixed180 = 18000;
constexpr qint32 kMirror = -1;
constexpr qint32 kTypedAngle = -1;
constexpr qint16 kWhite = 255;

} // namespace

frmRotate::frmRotate()
{
    setObjectName(QStringLiteral("frmRotate"));
    setWindowTitle(QStringLiteral("Rotate"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::setClientSizeTwips(this, 4395, 2115);
    // The window, its frame and its buttons share the panels' blue-violet.
    design::setWindowColours(this, design::kPanelBlue);

    Command1 = control<QPushButton>(this, "Command1", QStringLiteral("右90度"), 240, 120, 1875, 315);
    Command2 = control<QPushButton>(this, "Command2", QStringLiteral("左90度"), 240, 420, 1875, 315);
    Command3 = control<QPushButton>(this, "Command3", QStringLiteral("180度"), 240, 720, 1875, 315);
    Command5 = control<QPushButton>(this, "Command5", QStringLiteral("鏡像水平"), 240, 1320, 1875, 315);
    Command6 = control<QPushButton>(this, "Command6", QStringLiteral("鏡像垂直"), 240, 1620, 1875, 315);
    Frame1 = control<design::Frame>(this, "Frame1", QString(), 2340, 240, 1875, 1275);
    Option1 = control<QRadioButton>(Frame1, "Option1", QStringLiteral("時計方向"), 120, 120, 1335, 255);
    Option2 = control<QRadioButton>(Frame1, "Option2", QStringLiteral("反時計方向"), 120, 420, 1335, 195);
    Text1 = control<QLineEdit>(Frame1, "Text1", QString(), 540, 660, 795, 270);
    Label1 = control<QLabel>(Frame1, "Label1", QStringLiteral("度"), 1380, 720, 180, 180);
    Command4 = control<QPushButton>(Frame1, "Command4", QStringLiteral("決定"), 480, 960, 1275, 255);
    // The check box lies on the frame's top edge as its title: built after
    // the frame so it covers the border, with a background of its own.
    Check1 = control<QCheckBox>(this, "Check1", QStringLiteral("角度入力"), 2340, 120, 1095, 195);
    Check1->setAutoFillBackground(true);
    Frame1->setAccessibleName(Check1->text()); // its title, for assistive tools
    Command8 = control<QPushButton>(this, "Command8", QStringLiteral("Cancel"), 2340, 1620, 1875, 315);
    Option1->setChecked(true);

    platform::onClick(Check1, this, &frmRotate::Check1_Click);
    platform::onClick(Command1, this, &frmRotate::Command1_Click);
    platform::onClick(Command2, this, &frmRotate::Command2_Click);
    platform::onClick(Command3, this, &frmRotate::Command3_Click);
    platform::onClick(Command4, this, &frmRotate::Command4_Click);
    platform::onClick(Command5, this, &frmRotate::Command5_Click);
    platform::onClick(Command6, this, &frmRotate::Command6_Click);
    platform::onClick(Command8, this, &frmRotate::Command8_Click);
}

void frmRotate::Form_Load()
{
    Frame1->setEnabled(false);
}

void frmRotate::Check1_Click()
{
    Frame1->setEnabled(Check1->isChecked());
}

void frmRotate::Command1_Click()
{
    turnWorkingImage(kFixedRight90, 0, 0, 0);
}

void frmRotate::Command2_Click()
{
    turnWorkingImage(kFixedLeft90, 0, 0, 0);
}

void frmRotate::Command3_Click()
{
    turnWorkingImage(kFixed180, 0, 0, 0);
}

void frmRotate::Command5_Click()
{
    turnWorkingImage(0, kMirror, 0, 0);
}

void frmRotate::Command6_Click()
{
    turnWorkingImage(0, 0, kMirror, 0);
}

void frmRotate::Command4_Click()
{
    // No image: nothing, not even the angle's overflow message.
    if (adjust::workingImage() == 0)
        return;
    turnWorkingImage(adjust::enteredAngle(Text1->text(), Option1->isChecked()), 0, 0, kTypedAngle);
}

void frmRotate::Command8_Click()
{
    forms::unload<frmRotate>();
}

void frmRotate::turnWorkingImage(qint32 angle, qint32 mirrorHorizontal, qint32 mirrorVertical, qint32 freeAngle)
{
    const imaging::Handle image = adjust::workingImage();
    if (image == 0)
        return;
    frmviewer *viewer = mainWindowIfLoaded();
    viewer->Ik5Effect1->setSource(image);
    imaging::Handle turned = 0;
    {
        // A rotation the suite refuses (a turned canvas beyond the size
        // limit) throws: the progress dialog closes, the working image
        // stays, and the guard shows why.
        ProgressDialogScope progress(adjust::processingStatus());
        turned = viewer->Ik5Effect1->rotate(angle, mirrorHorizontal, mirrorVertical, freeAngle, kWhite, kWhite,
                                            kWhite, 0);
    }
    if (turned == 0)
        return;
    // The size mode stays: a turn is shown the way the image was shown.
    viewer->replaceWorkingImage(turned);
    forms::unload<frmRotate>();
}
