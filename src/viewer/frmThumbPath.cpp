#include "viewer/frmThumbPath.h"

#include "app/Design.h"
#include "platform/Events.h"
#include "platform/Twips.h"
#include "viewer/frmviewer.h"

frmThumbPath::frmThumbPath()
    : FolderPicker("frmThumbPath", QStringLiteral("Get Dir"), QStringLiteral("サムネールを作りたいフォルダーを指定して下さい"),
                   {{60, 60, 1875, 300}, {0, 360, 1905, 600}, {60, 960, 1875, 270}, {2040, 60, 2235, 1980}})
{
    Command1 = design::control<QPushButton>(this, "Command1", QStringLiteral("サムネールを作る"), 60, 1500, 1875, 255);
    Command2 = design::control<QPushButton>(this, "Command2", QStringLiteral("中止"), 60, 1740, 1875, 255);
    platform::onClick(Command1, this, &frmThumbPath::Command1_Click);
    platform::onClick(Command2, this, &frmThumbPath::Command2_Click);
}

void frmThumbPath::Command1_Click()
{
    frmviewer *viewer = mainWindowIfLoaded();
    if (!viewer)
        return;
    platform::setOuterSizeTwips(viewer, frmviewer::kOuterWidth, frmviewer::kOuterHeightThumbnails);
    viewer->cmdTcancel->setEnabled(true);
    // As typed, without a test: a folder that is not one shows nothing.
    viewer->Ik5Thumb1->setFolder(Text1->text());
    viewer->Ik5Thumb1->prepare();
    viewer->Ik5Thumb1->build();
}

void frmThumbPath::Command2_Click()
{
    if (frmviewer *viewer = mainWindowIfLoaded())
        platform::setOuterSizeTwips(viewer, frmviewer::kOuterWidth, frmviewer::kOuterHeightPickerCancelled);
    forms::unload<frmThumbPath>();
}
