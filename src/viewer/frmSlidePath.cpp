#include "viewer/frmSlidePath.h"

#include "app/Design.h"
#include "app/Module1.h"
#include "platform/Events.h"
#include "viewer/frmviewer.h"

frmSlidePath::frmSlidePath()
    : FolderPicker("frmSlidePath", QStringLiteral("SET Slide Psth"),
                   QStringLiteral("スライドショーを実行するフォルダを  指定して下さい"),
                   {{60, 60, 1935, 300}, {135, 405, 1875, 600}, {60, 1080, 1935, 270}, {2100, 60, 2175, 1980}})
{
    cmdSloaddir = design::control<QPushButton>(this, "cmdSloaddir", QStringLiteral("指定"), 60, 1500, 1935, 255);
    cmdScancel = design::control<QPushButton>(this, "cmdScancel", QStringLiteral("中止"), 60, 1740, 1935, 255);
    platform::onClick(cmdSloaddir, this, &frmSlidePath::cmdSloaddir_Click);
    platform::onClick(cmdScancel, this, &frmSlidePath::cmdScancel_Click);
}

void frmSlidePath::Form_Load()
{
    FolderPicker::Form_Load();
    SlideFolder.clear();
    if (frmviewer *viewer = mainWindowIfLoaded())
        viewer->setImageButtonsEnabled(false);
}

void frmSlidePath::cmdSloaddir_Click()
{
    frmviewer *viewer = mainWindowIfLoaded();
    if (!viewer)
        return;
    // The open image goes, and so does its handle: a released image is no
    // image for the buttons "終了" and "中止" give back.
    viewer->Ik5Common1->setHandle(viewer->Ik5File1->handle());
    viewer->Ik5Common1->release();
    viewer->Ik5File1->setHandle(0);
    if (!viewer->Text1->text().isEmpty())
        for (QLineEdit *box : {viewer->Text1, viewer->Text2, viewer->Text3, viewer->Text4})
            box->clear();
    viewer->Ik5Disp1->hide();
    viewer->Ik5Slide1->show();
    viewer->showPanel(viewer->Frame3);
    for (QWidget *panel : {static_cast<QWidget *>(viewer->Frame2), static_cast<QWidget *>(viewer->Frame4),
                           static_cast<QWidget *>(viewer->Frame5)})
        panel->hide();
    viewer->Check1->setChecked(true);
    viewer->Text11->setText(QString::number(viewer->Ik5Slide1->interval()));
    SlideFolder = Text1->text();
    Hide();
}

void frmSlidePath::cmdScancel_Click()
{
    if (frmviewer *viewer = mainWindowIfLoaded()) {
        viewer->setImageButtonsEnabled(true);
        viewer->showDisplayInFront();
        viewer->update();
    }
    forms::unload<frmSlidePath>();
}
