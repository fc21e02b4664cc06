// The batch resize window: its controls as designed, the file lists, the
// folder search and the buttons that open the output window.

#include "batch/frmResize.h"

#include <QScopeGuard>
#include <QScopedValueRollback>

#include "app/Module1.h"
#include "batch/engine/FolderSearch.h"
#include "batch/frmAllsave.h"
#include "platform/Events.h"
#include "platform/FolderActions.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "platform/core/FolderPaths.h"
#include "rules/SearchType.h"
#include "viewer/frmviewer.h"

using design::control;
namespace msgbox = platform::msgbox;

namespace {

const QString kCaution = QStringLiteral("Caution");
const QString kSearchFolderFailed = QStringLiteral("エラー");

QStringList entriesOf(const QListWidget *list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->item(i)->text());
    return entries;
}

} // namespace

frmResize::frmResize()
{
    setObjectName(QStringLiteral("frmResize"));
    setWindowTitle(QStringLiteral("Resize"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::setClientSizeTwips(this, 10230, 4290);
    buildFileSide();
    buildRuleSide();
    wireHandlers();
}

void frmResize::buildFileSide()
{
    Label11 = control<QLabel>(this, "Label11", QStringLiteral("ｵﾘｼﾞﾅﾙﾌｧｲﾙの選択(ﾘｻｲｽﾞしたいﾌｧｲﾙを選択してください)"),
                              180, 90, 5040, 255);
    Drive2 = control<folderlists::DriveList>(this, "Drive2", 120, 360, 1815, 300);
    Dir2 = control<folderlists::DirList>(this, "Dir2", 120, 720, 1815, 1560);
    File2 = control<folderlists::FileList>(this, "File2", 2040, 360, 3255, 1530);
    File2->setMultiSelect(true);
    File2->setPattern(QStringLiteral("*.jpg;*.bmp;*.tif;*.png"));
    lstResult = control<QListWidget>(this, "lstResult", 2040, 1080, 2895, 600);
    lstResult->hide();
    Command4 = control<QPushButton>(this, "Command4", QStringLiteral("選択解除"), 2070, 1980, 1605, 345);
    Command1 = control<QPushButton>(this, "Command1", QStringLiteral("NetWork Drive"), 3690, 1980, 1605, 345);

    Check2 = control<QCheckBox>(this, "Check2", QStringLiteral("フォルダ内のファイルを一括リサイズ"), 135, 2565, 3480, 195);
    Label10 = control<QLabel>(this, "Label10",
                              QStringLiteral("フォルダ一括リサイズはﾌｧｲﾙﾀｲﾌﾟを選びSearchをｸﾘｯｸしてください"), 135, 2835,
                              5175, 255);
    Label15 = control<QLabel>(this, "Label15", QString(), 225, 3105, 3885, 255);
    cmbTarget = control<QComboBox>(this, "cmbTarget", 135, 3420, 1860, 300);
    cmbTarget->setEditable(true);
    cmbTarget->setInsertPolicy(QComboBox::NoInsert); // a typed type is used, not added to the list
    cmdSearch = control<QPushButton>(this, "cmdSearch", QStringLiteral("Search Now"), 135, 3825, 1875, 345);
    List1 = control<QListWidget>(this, "List1", 2040, 3420, 3255, 780);
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void frmResize::buildRuleSide()
{
    const QString pixels = QStringLiteral("Pixcel");
    Label1 = control<QLabel>(this, "Label1", QStringLiteral("リサイズするピクセル数を入力して下さい (英数半角)"), 5640, 90,
                             4380, 180);
    Option1 = control<QRadioButton>(this, "Option1", QStringLiteral("縦横比を守る"), 5670, 315, 1695, 255);
    Frame1 = control<design::Frame>(this, "Frame1", QString(), 5985, 450, 3975, 930);
    optLong = control<QRadioButton>(Frame1, "optLong", QStringLiteral("長辺を"), 120, 225, 855, 255);
    Text6 = control<QLineEdit>(Frame1, "Text6", QString(), 960, 225, 1455, 270);
    Label6 = control<QLabel>(Frame1, "Label6", QStringLiteral("Pixcelにリサイズ"), 2520, 345, 1215, 255);
    optShort = control<QRadioButton>(Frame1, "optShort", QStringLiteral("短辺を"), 120, 570, 855, 255);
    Text4 = control<QLineEdit>(Frame1, "Text4", QString(), 960, 570, 1455, 270);
    Label7 = control<QLabel>(Frame1, "Label7", QStringLiteral("Pixcelにリサイズ"), 2520, 690, 1335, 255);
    // The label's design reaches 15 twips past the frame's bottom edge,
    // where the border would cut it.
    Frame1->growToHoldChildren();

    Option4 = control<QRadioButton>(this, "Option4", QStringLiteral("比率を守って枠内サイズに収める"), 5670, 1395, 3075, 195);
    Frame2 = control<design::Frame>(this, "Frame2", QString(), 6030, 1575, 3930, 915);
    Label8 = control<QLabel>(Frame2, "Label8", QStringLiteral("幅"), 315, 270, 195, 195);
    Text3 = control<QLineEdit>(Frame2, "Text3", QString(), 855, 225, 960, 255);
    Label9 = control<QLabel>(Frame2, "Label9", QStringLiteral("高さ"), 270, 585, 345, 195);
    Text5 = control<QLineEdit>(Frame2, "Text5", QString(), 855, 540, 960, 255);
    Label12 = control<QLabel>(Frame2, "Label12", QStringLiteral("Pixcelの枠に収める"), 1980, 405, 1620, 195);

    Option3 = control<QRadioButton>(this, "Option3", QStringLiteral("サイズ指定"), 5670, 2610, 1215, 255);
    Text7 = control<QLineEdit>(this, "Text7", QString(), 7245, 2565, 1575, 270);
    Label14 = control<QLabel>(this, "Label14", QStringLiteral("Kbyteにリサイズ"), 8910, 2610, 1245, 180);
    Option2 = control<QRadioButton>(this, "Option2", QStringLiteral("縦横比を無視"), 5670, 2925, 1575, 255);
    Label2 = control<QLabel>(this, "Label2", QStringLiteral("たて"), 7335, 2970, 330, 180);
    Text1 = control<QLineEdit>(this, "Text1", QString(), 7785, 2880, 1665, 270);
    Label4 = control<QLabel>(this, "Label4", pixels, 9480, 2910, 465, 180);
    Label3 = control<QLabel>(this, "Label3", QStringLiteral("よこ"), 7335, 3240, 300, 180);
    Text2 = control<QLineEdit>(this, "Text2", QString(), 7785, 3180, 1665, 270);
    Label5 = control<QLabel>(this, "Label5", pixels, 9495, 3240, 465, 180);
    Check1 = control<QCheckBox>(this, "Check1", QStringLiteral("解像度をそろえる"), 5670, 3510, 1815, 240);
    Text8 = control<QLineEdit>(this, "Text8", QString(), 7785, 3510, 1170, 270);
    Label13 = control<QLabel>(this, "Label13", QStringLiteral("DPI"), 9045, 3600, 270, 180);

    Command3 = control<QPushButton>(this, "Command3", QStringLiteral("No Risaiz"), 5670, 3840, 1455, 375);
    cmdAllresize = control<QPushButton>(this, "cmdAllresize", QStringLiteral("OK"), 7110, 3840, 1455, 375);
    Command2 = control<QPushButton>(this, "Command2", QStringLiteral("Cancel"), 8520, 3840, 1455, 375);
    Option1->setChecked(true);
    optLong->setChecked(true);
    design::optionGroup(this, {Option1, Option4, Option3, Option2});
    // Two rules lie on the top edge of their frames, as titles: in front of
    // the border, which would run through their captions.
    for (QRadioButton *title : {Option1, Option4}) {
        title->raise();
        title->setAutoFillBackground(true);
    }
}

void frmResize::wireHandlers()
{
    using platform::on;
    using platform::onClick;
    on(Drive2, &folderlists::DriveList::changed, this, &frmResize::Drive2_Change);
    on(Dir2, &folderlists::DirList::changed, this, &frmResize::Dir2_Change);
    on(File2, &folderlists::FileList::clicked, this, &frmResize::File2_Click);
    onClick(Command4, this, &frmResize::Command4_Click);
    onClick(Command1, this, &frmResize::Command1_Click);
    onClick(Check2, this, &frmResize::Check2_Click);
    // Typing changes the type; choosing an entry of the list does not (the
    // search reads the text again), and setTargetText covers changes from code.
    on(cmbTarget->lineEdit(), &QLineEdit::textEdited, this, &frmResize::cmbTarget_Change);
    onClick(cmdSearch, this, &frmResize::cmdSearch_Click);
    onClick(Option1, this, &frmResize::Option1_Click);
    onClick(Option4, this, &frmResize::Option4_Click);
    onClick(cmdAllresize, this, &frmResize::cmdAllresize_Click);
    onClick(Command3, this, &frmResize::Command3_Click);
    onClick(Command2, this, &frmResize::Command2_Click);
}

void frmResize::Form_Load()
{
    cmbTarget->addItems({QStringLiteral("JPG(jpg)"), QStringLiteral("TIF(tif)"), QStringLiteral("BMP(bmp)"),
                         QStringLiteral("*.*")});
    cmbTarget->setCurrentIndex(-1); // the type text starts empty
    Drive2->refresh();
}

void frmResize::Drive2_Change()
{
    folderlists::openChosenDrive(Drive2, Dir2);
}

void frmResize::Dir2_Change()
{
    File2->setPath(Dir2->path());
}

// Picking files by hand discards a search result.
void frmResize::File2_Click()
{
    if (List1->count() > 0)
        List1->clear();
    cmdSearch->setEnabled(false);
}

void frmResize::Command4_Click()
{
    File2->clearSelection();
    cmdSearch->setEnabled(true);
}

void frmResize::Command1_Click()
{
    folderlists::connectNetworkDrive(this, Drive2);
}

void frmResize::Check2_Click()
{
    if (Check2->isChecked()) {
        cmdSearch->setEnabled(true);
        File2->clearSelection();
        return;
    }
    cmdSearch->setEnabled(false);
    List1->clearSelection();
    List1->clear();
    setTargetText(QString());
}

void frmResize::setTargetText(const QString &text)
{
    if (cmbTarget->currentText() == text)
        return;
    cmbTarget->setEditText(text);
    cmbTarget_Change();
}

void frmResize::cmbTarget_Change()
{
    TargetType = cmbTarget->currentText();
    cmdSearch->setEnabled(true);
}

// Every entry of the tree under the highlighted folder, then those whose
// names end in the type's keys. The walk yields once per folder; until it
// ends, a click that would start something else is ignored.
void frmResize::cmdSearch_Click()
{
    if (m_busy)
        return;
    const QScopedValueRollback busy(m_busy, true);
    if (cmbTarget->currentText().isEmpty())
        platform::messageBox(QStringLiteral("ﾌｧｲﾙﾀｲﾌﾟを選択して下さい"), msgbox::OkOnly, kCaution);
    cmdAllresize->setEnabled(true);
    cmdSearch->setEnabled(false);
    cmbTarget->setEnabled(false);
    const auto searchEnded = qScopeGuard([this] {
        cmdSearch->setEnabled(true);
        cmbTarget->setEnabled(true);
        cmbTarget->setFocus();
    });
    lstResult->clear();
    const QString start = folderlists::withTrailingSeparator(Dir2->list(Dir2->listIndex()));
    TargetType = cmbTarget->currentText();

    batch::SearchEvents events;
    events.folderFailed = [](const QString &, const QString &description) {
        platform::messageBox(description, msgbox::OkOnly | msgbox::Exclamation, kSearchFolderFailed);
    };
    events.folderListed = [] { platform::yieldToEventLoop(); };
    lstResult->addItems(batch::searchFolder(start, events));
    List1->clear();
    List1->addItems(searchtype::selectedEntries(entriesOf(lstResult), TargetType));
    Label15->setText(QString::number(List1->count()) + QStringLiteral("個のﾌｧｲﾙが検索されました"));
}

void frmResize::Option1_Click()
{
    Text4->setEnabled(true);
    Text6->setEnabled(true);
}

void frmResize::Option4_Click()
{
    Text3->setEnabled(true);
    Text5->setEnabled(true);
}

void frmResize::takeSearchListForRun()
{
    FolderMode = List1->count() > 0;
    if (FolderMode)
        List1->selectAll();
}

// The check looks only at whether a size was given somewhere, not at the
// rule's own boxes: a wrong box fails each file of the run instead.
void frmResize::cmdAllresize_Click()
{
    takeSearchListForRun();
    const bool sizeGiven = !Text6->text().isEmpty() || !Text7->text().isEmpty() || !Text4->text().isEmpty()
        || Option2->isChecked() || Option4->isChecked();
    if (sizeGiven)
        forms::get<frmAllsave>()->Show();
    else
        platform::messageBox(QStringLiteral("数値を入力して下さい"), msgbox::OkOnly, kCaution);
    // Loaded either way, shown or not.
    forms::get<frmAllsave>()->Command1->setEnabled(false);
}

void frmResize::Command3_Click()
{
    takeSearchListForRun();
    auto *output = forms::get<frmAllsave>();
    output->Show();
    output->Command1->setEnabled(true);
    output->cmdAllresize->setEnabled(false);
    output->cmdResize->setEnabled(false);
}

void frmResize::Command2_Click()
{
    forms::get<frmviewer>()->Show();
    forms::unload<frmResize>();
}

sizerules::RuleTexts frmResize::ruleTexts() const
{
    using sizerules::Rule;
    if (Option1->isChecked()) {
        if (optShort->isChecked())
            return {Rule::ShortSide, Text4->text(), {}, {}, {}};
        return {Rule::LongSide, Text6->text(), {}, {}, {}};
    }
    if (Option2->isChecked())
        return {Rule::Free, {}, Text2->text(), Text1->text(), {}};
    if (Option3->isChecked())
        return {Rule::Kbyte, {}, {}, {}, Text7->text()};
    return {Rule::Box, {}, Text3->text(), Text5->text(), {}};
}
