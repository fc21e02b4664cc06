// The batch output window: its controls as designed and its handlers.

#include "batch/frmAllsave.h"

#include "app/Module1.h"
#include "base/Error.h"
#include "batch/frmResize.h"
#include "platform/Events.h"
#include "platform/FolderActions.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "platform/core/FolderPaths.h"

using design::control;

frmAllsave::frmAllsave()
{
    setObjectName(QStringLiteral("frmAllsave"));
    setWindowTitle(QStringLiteral("Set Save Dir"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::setClientSizeTwips(this, 6330, 5355);
    buildDestinationSide();
    buildFormatSide();
    cmdResize = control<QPushButton>(this, "cmdResize", QStringLiteral("選択ﾌｧｲﾙをﾘｻｲｽﾞ"), 3120, 3960, 2895, 255);
    cmdAllresize = control<QPushButton>(this, "cmdAllresize", QStringLiteral("ﾌｫﾙﾀﾞｰ一括ﾘｻｲｽﾞ"), 3120, 4260, 2895, 255);
    Command1 = control<QPushButton>(this, "Command1", QStringLiteral("リサイズせずに保存形式のみ変更"), 3150, 4560, 2865, 255);
    Command3 = control<QPushButton>(this, "Command3", QStringLiteral("Cancel"), 4320, 4920, 1695, 255);
    wireHandlers();
}

void frmAllsave::buildDestinationSide()
{
    Drive1 = control<folderlists::DriveList>(this, "Drive1", 120, 120, 2535, 300);
    cmdNet = control<QPushButton>(this, "cmdNet", QStringLiteral("NetWork Drive"), 960, 600, 1695, 255);
    Dir1 = control<folderlists::DirList>(this, "Dir1", 120, 960, 2535, 1350);
    File1 = control<folderlists::FileList>(this, "File1", 120, 2385, 2535, 990);
    Label3 = control<QLabel>(this, "Label3", QStringLiteral("現在のﾃﾞｨﾚｸﾄﾘｰ"), 120, 3600, 2175, 255);
    txtCurdir = control<QLineEdit>(this, "txtCurdir", QString(), 120, 3840, 2535, 270);
    Label1 = control<QLabel>(this, "Label1", QStringLiteral("新しいﾃﾞｨﾚｸﾄﾘｰの名前"), 120, 4200, 2295, 255);
    txtDirName = control<QLineEdit>(this, "txtDirName", QString(), 120, 4440, 2535, 270);
    cndDir = control<QPushButton>(this, "cndDir", QStringLiteral("ﾃﾞｨﾚｸﾄﾘｰ作成"), 840, 4920, 1815, 255);
}

void frmAllsave::buildFormatSide()
{
    Label2 = control<QLabel>(this, "Label2", QStringLiteral("Save File Type"), 3000, 120, 2775, 255);
    optBmp = control<QRadioButton>(this, "optBmp", QStringLiteral("BMP File"), 3000, 480, 1935, 255);
    optTif = control<QRadioButton>(this, "optTif", QStringLiteral("TIF File(非圧縮)"), 3000, 840, 1935, 375);
    optJpg = control<QRadioButton>(this, "optJpg", QStringLiteral("JPG File"), 3000, 1200, 1815, 375);
    optJpg->setChecked(true);

    // The quality buttons are children of the frame: a group of their own.
    Frame1 = control<design::Frame>(this, "Frame1", QStringLiteral("JPG Quality"), 3000, 1560, 3135, 1575);
    Option1 = control<QRadioButton>(Frame1, "Option1", QStringLiteral("40"), 120, 240, 615, 255);
    Option2 = control<QRadioButton>(Frame1, "Option2", QStringLiteral("60"), 840, 240, 615, 255);
    Option3 = control<QRadioButton>(Frame1, "Option3", QStringLiteral("80"), 1560, 240, 615, 255);
    Option4 = control<QRadioButton>(Frame1, "Option4", QStringLiteral("Custum"), 120, 600, 975, 255);
    Option2->setChecked(true);
    Label4 = control<QLabel>(Frame1, "Label4", QString(), 1320, 600, 1335, 255);
    HScroll1 = control<QScrollBar>(Frame1, "HScroll1", 120, 960, 2655, 255);
    design::setBarRange(HScroll1, 0, 100, 1, 1);
    HScroll1->setValue(0);

    Check1 = control<QCheckBox>(this, "Check1", QStringLiteral("保存先に同名ファイルが有ればファイル名を変更する"), 3015, 3240,
                                2730, 405);
}

void frmAllsave::wireHandlers()
{
    using platform::on;
    using platform::onClick;
    on(Drive1, &folderlists::DriveList::changed, this, &frmAllsave::Drive1_Change);
    on(Dir1, &folderlists::DirList::changed, this, &frmAllsave::Dir1_Change);
    on(Dir1, &folderlists::DirList::clicked, this, &frmAllsave::Dir1_Click);
    onClick(cmdNet, this, &frmAllsave::cmdNet_Click);
    // The runs read the custom quality from the label as each file starts,
    // so the label follows the bar during a run too.
    platform::onChange(HScroll1, this, &frmAllsave::HScroll1_Change, platform::WhileBusy::Allowed);
    onClick(cndDir, this, &frmAllsave::cndDir_Click);
    onClick(cmdAllresize, this, &frmAllsave::cmdAllresize_Click);
    onClick(cmdResize, this, &frmAllsave::cmdResize_Click);
    onClick(Command1, this, &frmAllsave::Command1_Click);
    onClick(Command3, this, &frmAllsave::Command3_Click);
}

void frmAllsave::Form_Load()
{
    const bool searched = forms::isLoaded<frmResize>() && forms::get<frmResize>()->List1->count() > 0;
    cmdResize->setEnabled(!searched);
    cmdAllresize->setEnabled(searched);
    // Later list windows start in the program folder. One that cannot be
    // entered (removed since the start) leaves the current folder as it is.
    try {
        if (!AppPath.isEmpty())
            folderlists::enterFolder(AppPath);
    } catch (const imaging::Error &) {
    }
    Drive1->refresh();
    File1->refresh();
    Dir1->refresh();
    txtCurdir->setText(Dir1->path());
    txtDirName->setText(QStringLiteral("NewFolder"));
}

void frmAllsave::Drive1_Change()
{
    folderlists::openChosenDrive(Drive1, Dir1);
}

void frmAllsave::Dir1_Change()
{
    File1->setPath(Dir1->path());
}

// A single click chooses the destination without opening the folder.
void frmAllsave::Dir1_Click()
{
    txtCurdir->setText(Dir1->list(Dir1->listIndex()));
}

void frmAllsave::cmdNet_Click()
{
    folderlists::connectNetworkDrive(this, Drive1);
}

void frmAllsave::HScroll1_Change()
{
    Label4->setText(QString::number(HScroll1->value()));
}

void frmAllsave::cndDir_Click()
{
    folderlists::createFolderGuarded(txtCurdir, txtDirName, {Drive1, Dir1, File1});
}

bool frmAllsave::destinationGiven() const
{
    if (!txtCurdir->text().isEmpty())
        return true;
    platform::messageBox(QStringLiteral("保存するフォルダーを選択して下さい"), platform::msgbox::OkOnly,
                         QStringLiteral("Caution"));
    return false;
}

void frmAllsave::cmdAllresize_Click()
{
    if (destinationGiven())
        forms::get<frmResize>()->resize();
}

void frmAllsave::cmdResize_Click()
{
    if (destinationGiven())
        forms::get<frmResize>()->resize2();
}

void frmAllsave::Command1_Click()
{
    if (!destinationGiven())
        return;
    if (FolderMode)
        forms::get<frmResize>()->All_save_us();
    else
        forms::get<frmResize>()->select_save_as();
}

void frmAllsave::Command3_Click()
{
    forms::get<frmResize>()->Show();
    forms::unload<frmAllsave>();
}

std::optional<savepath::Format> frmAllsave::chosenFormat() const
{
    using savepath::Format;
    if (optBmp->isChecked())
        return Format::Bmp;
    if (optTif->isChecked())
        return Format::Tiff;
    if (optJpg->isChecked())
        return Format::Jpeg;
    return std::nullopt;
}

savepath::Quality frmAllsave::chosenQuality() const
{
    using savepath::Quality;
    return Option1->isChecked() ? Quality::Q40
        : Option2->isChecked()  ? Quality::Q60
        : Option3->isChecked()  ? Quality::Q80
                                : Quality::Custom;
}
