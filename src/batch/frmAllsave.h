#pragma once

#include <optional>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "app/Design.h"
#include "platform/FolderLists.h"
#include "platform/Forms.h"
#include "rules/SavePath.h"

// The batch output window: the destination folder (with folder creation),
// the format, the JPEG quality and whether names already in the
// destination are avoided. Its three start buttons run frmResize's
// procedures, which read these boxes as each file starts.
class frmAllsave : public platform::Form
{
    Q_OBJECT

public:
    frmAllsave();

    // Destination
    folderlists::DriveList *Drive1;
    QPushButton *cmdNet;
    folderlists::DirList *Dir1;
    folderlists::FileList *File1;
    QLabel *Label3;
    QLineEdit *txtCurdir;
    QLabel *Label1;
    QLineEdit *txtDirName;
    QPushButton *cndDir;

    // Format and quality
    QLabel *Label2;
    QRadioButton *optBmp, *optTif, *optJpg;
    design::Frame *Frame1;
    QRadioButton *Option1, *Option2, *Option3, *Option4;
    QLabel *Label4; // the custom quality, as text
    QScrollBar *HScroll1;
    QCheckBox *Check1;

    // Start and cancel
    QPushButton *cmdResize;    // the hand-picked files
    QPushButton *cmdAllresize; // the searched files
    QPushButton *Command1;     // format only
    QPushButton *Command3;     // Cancel

    void Form_Load() override;
    void Drive1_Change();
    void Dir1_Change();
    void Dir1_Click();
    void cmdNet_Click();
    void HScroll1_Change();
    void cndDir_Click();
    void cmdAllresize_Click();
    void cmdResize_Click();
    void Command1_Click();
    void Command3_Click();

    // The first selected format button; none selected writes nothing.
    [[nodiscard]] std::optional<savepath::Format> chosenFormat() const;
    // The first selected quality button; Custom takes Label4's text.
    [[nodiscard]] savepath::Quality chosenQuality() const;

private:
    void buildDestinationSide();
    void buildFormatSide();
    void wireHandlers();
    // The start buttons' common test: a destination must be given.
    [[nodiscard]] bool destinationGiven() const;
};
