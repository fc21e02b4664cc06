#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/Design.h"
#include "batch/engine/BatchRun.h"
#include "platform/FolderLists.h"
#include "platform/Forms.h"

class frmAllsave;

// The batch resize window: the files to work on (picked by hand in File2,
// or found by a search of a folder tree into List1) and the size rule. Its
// "OK" and "No Risaiz" open the output window frmAllsave, whose buttons
// start one of the four runs below. The main window is unloaded while this
// window is open; "Cancel" and a completed run bring it back.
class frmResize : public platform::Form
{
    Q_OBJECT

public:
    frmResize();

    // The files
    QLabel *Label11;
    folderlists::DriveList *Drive2;
    folderlists::DirList *Dir2;
    folderlists::FileList *File2;
    QListWidget *lstResult; // hidden: the search's work list
    QPushButton *Command4;  // 選択解除
    QPushButton *Command1;  // NetWork Drive

    // The folder search
    QCheckBox *Check2;
    QLabel *Label10, *Label15;
    QComboBox *cmbTarget;
    QPushButton *cmdSearch;
    QListWidget *List1;

    // The size rule
    QLabel *Label1;
    QRadioButton *Option1, *Option4, *Option3, *Option2;
    design::Frame *Frame1, *Frame2;
    QRadioButton *optLong, *optShort;
    QLineEdit *Text6, *Text4, *Text3, *Text5, *Text7, *Text1, *Text2, *Text8;
    QLabel *Label6, *Label7, *Label8, *Label9, *Label12, *Label14, *Label2, *Label4, *Label3, *Label5, *Label13;
    QCheckBox *Check1;

    QPushButton *Command3;     // No Risaiz
    QPushButton *cmdAllresize; // OK
    QPushButton *Command2;     // Cancel

    void Form_Load() override;
    void Drive2_Change();
    void Dir2_Change();
    void File2_Click();
    void Command4_Click();
    void Command1_Click();
    void Check2_Click();
    void cmbTarget_Change();
    void cmdSearch_Click();
    void Option1_Click();
    void Option4_Click();
    void cmdAllresize_Click();
    void Command3_Click();
    void Command2_Click();

    // The four runs, started by frmAllsave's buttons: resize the searched
    // files (List1) or the hand-picked ones (File2), or only convert them.
    // A start while a run or a search is under way is ignored.
    void resize();
    using QWidget::resize; // the window's own size, which the run's name hides
    void resize2();
    void All_save_us();
    void select_save_as();

    // The size rule as the boxes hold it now.
    [[nodiscard]] sizerules::RuleTexts ruleTexts() const;

private:
    void buildFileSide();
    void buildRuleSide();
    void wireHandlers();

    // The type text set from code runs its Change when it differs, as an
    // edit does.
    void setTargetText(const QString &text);
    // The search list's entries all selected, and FolderMode set by whether
    // there are any: the opener buttons' common first step.
    void takeSearchListForRun();

    enum class Walk { SearchList, PickedFiles };
    void run(Walk walk, bool resizing);
    [[nodiscard]] batch::Job jobFor(Walk walk, bool resizing) const;

    // A search or a run is under way: a second one inside it is refused.
    bool m_busy = false;
};
