#include "save/frmSave.h"

#include "rules/TextRules.h"
#include "platform/Events.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "platform/FolderActions.h"
#include "viewer/frmviewer.h"

using design::control;

namespace {

const QString kNoFolderMessage = QStringLiteral(
    "Current Dirが決まっていませんﾃﾞｨﾚｸﾄﾘﾘｽﾄﾎﾞｯｸｽをｸﾘｯｸしてﾃﾞｨﾚｸﾄﾘを決定して下さい");

} // namespace

frmSave::frmSave()
{
    setWindowTitle(QStringLiteral("Save File"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::setClientSizeTwips(this, 6570, 4935);
    buildFolderSide();
    buildFormatSide();
    buildQualityFrame();
    cndSave = control<QPushButton>(this, "cndSave", QStringLiteral("保存"), 3480, 4440, 1215, 345);
    cmdCancel = control<QPushButton>(this, "cmdCancel", QStringLiteral("中止"), 4920, 4425, 1215, 345);
    wireHandlers();
}

void frmSave::buildFolderSide()
{
    Drive1 = control<folderlists::DriveList>(this, "Drive1", 120, 120, 2775, 300);
    Command2 = control<QPushButton>(this, "Command2", QStringLiteral("ネットワーク上のドライブ"), 780, 480, 2115, 255);
    Dir1 = control<folderlists::DirList>(this, "Dir1", 120, 840, 2775, 1140);
    File1 = control<folderlists::FileList>(this, "File1", 120, 2040, 2775, 1350);
    Label4 = control<QLabel>(this, "Label4", QStringLiteral("現在のディレクトリ"), 120, 3420, 1395, 180);
    txtCurdir = control<QLineEdit>(this, "txtCurdir", QString(), 120, 3660, 2775, 270);
    Label1 = control<QLabel>(this, "Label1", QStringLiteral("新しいファルダーを作る(名前を記入)"), 120, 4020, 2775, 255);
    txtDirName = control<QLineEdit>(this, "txtDirName", QString(), 120, 4200, 2775, 270);
    Command1 = control<QPushButton>(this, "Command1", QStringLiteral("新規フォルダー作成"), 540, 4560, 2355, 255);
}

void frmSave::buildFormatSide()
{
    Label2 = control<QLabel>(this, "Label2", QStringLiteral("保存ファイル名"), 3240, 120, 1155, 180);
    txtSavefileName = control<QLineEdit>(this, "txtSavefileName", QString(), 3360, 360, 2535, 270);
    Label3 = control<QLabel>(this, "Label3", QStringLiteral("保存するファイルの形式"), 3240, 900, 1845, 180);
    optBmp = control<QRadioButton>(this, "optBmp", QStringLiteral("BMP File(非圧縮)"), 3360, 1140, 1755, 255);
    optTif = control<QRadioButton>(this, "optTif", QStringLiteral("TIFF File"), 3360, 1500, 1335, 255);
    Option3 = control<QRadioButton>(this, "Option3", QStringLiteral("PNG File"), 3360, 1860, 1395, 255);
    optJpg = control<QRadioButton>(this, "optJpg", QStringLiteral("JPG File"), 3360, 2220, 1215, 255);
    Option7 = control<QRadioButton>(this, "Option7", QStringLiteral("JPG File(プログレッシブ)"), 3360, 2580, 2475, 255);
    optJpg->setChecked(true);
}

// The quality buttons are children of the frame, so they form a group of
// their own beside the five format buttons.
void frmSave::buildQualityFrame()
{
    Frame1 = control<design::Frame>(this, "Frame1", QStringLiteral("Jpg Quality"), 3780, 2880, 2535, 1395);
    Option4 = control<QRadioButton>(Frame1, "Option4", QStringLiteral("40"), 120, 360, 495, 255);
    Option5 = control<QRadioButton>(Frame1, "Option5", QStringLiteral("60"), 780, 360, 555, 255);
    Option6 = control<QRadioButton>(Frame1, "Option6", QStringLiteral("80"), 1500, 360, 615, 255);
    Option1 = control<QRadioButton>(Frame1, "Option1", QStringLiteral("Custom"), 120, 720, 975, 255);
    Option5->setChecked(true);

    Label6 = control<QLabel>(Frame1, "Label6", QString(), 1200, 720, 495, 255);
    design::setBackground(Label6, Qt::white);
    Label6->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label6->setAlignment(Qt::AlignCenter);

    Label5 = control<QLabel>(Frame1, "Label5", QStringLiteral("0") + QString(32, u' ') + QStringLiteral("100"), 120, 960,
                             2295, 255);
    HScroll1 = control<QScrollBar>(Frame1, "HScroll1", 120, 1200, 2295, 255);
    design::setBarRange(HScroll1, 1, 100, 1, 1);
    HScroll1->setValue(50);
    // The bar's design reaches 60 twips past the frame's bottom edge, where
    // the border would cut it; the frame grows to hold it, above the buttons.
    Frame1->growToHoldChildren();
}

void frmSave::wireHandlers()
{
    platform::on(Drive1, &folderlists::DriveList::changed, this, &frmSave::Drive1_Change);
    platform::on(Dir1, &folderlists::DirList::changed, this, &frmSave::Dir1_Change);
    platform::on(Dir1, &folderlists::DirList::clicked, this, &frmSave::Dir1_Click);
    platform::onClick(Command1, this, &frmSave::Command1_Click);
    platform::onClick(Command2, this, &frmSave::Command2_Click);
    platform::onChange(HScroll1, this, &frmSave::HScroll1_Change);
    platform::onClick(cndSave, this, &frmSave::cndSave_Click);
    platform::onClick(cmdCancel, this, &frmSave::cmdCancel_Click);
}

void frmSave::Form_Load()
{
    // Over the main window when it is shown, otherwise in the middle of the
    // screen; either way inside the screen.
    frmviewer *viewer = mainWindowIfLoaded();
    if (viewer && viewer->isVisible())
        platform::centreTwips(this, QRect(platform::positionTwips(viewer), platform::outerSizeTwips(viewer)));
    else
        platform::centreTwips(this, QRect(QPoint(0, 0), platform::screenSizeTwips()));

    txtCurdir->setText(Dir1->path());
    txtDirName->setText(QStringLiteral("NewFolder"));
    // Without a main window (the batch windows run with it unloaded) there
    // is no name to offer and no request to clear.
    if (!viewer)
        return;
    txtSavefileName->setText(viewer->Text1->text());
    txtSavefileName->setCursorPosition(0); // a long name shows from its start
    viewer->Ik5File1->setOperation(0);
}

void frmSave::Drive1_Change()
{
    folderlists::openChosenDrive(Drive1, Dir1);
}

void frmSave::Dir1_Change()
{
    Dir1->refresh();
    File1->setPath(Dir1->path());
}

void frmSave::Dir1_Click()
{
    txtCurdir->setText(Dir1->list(Dir1->listIndex()));
}

void frmSave::Command1_Click()
{
    folderlists::createFolderForSaveDialog(txtCurdir, txtDirName);
}

void frmSave::Command2_Click()
{
    folderlists::connectNetworkDrive(this, Drive1);
}

void frmSave::HScroll1_Change()
{
    Label6->setText(QString::number(HScroll1->value()));
}

savepath::Format frmSave::chosenFormat() const
{
    return savepath::chosenFormat(optBmp->isChecked(), optTif->isChecked(), Option3->isChecked(),
                                  Option7->isChecked());
}

int frmSave::chosenQuality() const
{
    using savepath::Quality;
    const Quality quality = Option4->isChecked() ? Quality::Q40
        : Option5->isChecked()                   ? Quality::Q60
        : Option6->isChecked()                   ? Quality::Q80
                                                 : Quality::Custom;
    return savepath::jpegQuality(quality, HScroll1->value());
}

void frmSave::cndSave_Click()
{
    if (txtCurdir->text().isEmpty()) {
        platform::messageBox(kNoFolderMessage, platform::msgbox::OkOnly | platform::msgbox::Critical);
        return;
    }
    const savepath::Format format = chosenFormat();
    const QString path = savepath::savePath(txtCurdir->text(), txtSavefileName->text(), format);
    const savepath::FormatEntry entry = savepath::formatEntry(format);

    // The request goes to the main window's file control; with no main
    // window there is nothing to save, and none is built for it.
    frmviewer *viewer = mainWindowIfLoaded();
    if (!viewer) {
        forms::unload<frmSave>();
        return;
    }
    imaging::Ik5File *file = viewer->Ik5File1;
    file->setHandle(viewer->Ik5Disp1->handle());
    file->setPath(path);
    if (entry.takesQuality)
        file->setQuality(chosenQuality());
    // The code last: it is what makes this a save request.
    file->setOperation(entry.operation);
    // The name the file will have, shown before it is written.
    viewer->Text1->setText(textrules::fileNameOf(path));
    forms::unload<frmSave>();
}

void frmSave::cmdCancel_Click()
{
    if (frmviewer *viewer = mainWindowIfLoaded())
        viewer->update();
    forms::unload<frmSave>();
}
