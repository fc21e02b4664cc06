#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "app/Design.h"
#include "platform/Forms.h"
#include "platform/FolderLists.h"
#include "rules/SavePath.h"

// The modal save dialog. The user picks a folder, edits the name and picks
// a format and JPEG quality; "保存" leaves the request (image, path, quality,
// format code) in the main window's file control and closes, and the main
// window writes the file. Loading the dialog clears any earlier request, so
// closing it any other way writes nothing.
class frmSave : public platform::Form
{
    Q_OBJECT

public:
    frmSave();

    // Folder side
    folderlists::DriveList *Drive1;
    QPushButton *Command2; // network drive
    folderlists::DirList *Dir1;
    folderlists::FileList *File1;
    QLabel *Label4;
    QLineEdit *txtCurdir;
    QLabel *Label1;
    QLineEdit *txtDirName;
    QPushButton *Command1; // new folder

    // File name and format
    QLabel *Label2;
    QLineEdit *txtSavefileName;
    QLabel *Label3;
    QRadioButton *optBmp, *optTif, *Option3, *optJpg, *Option7;

    // JPEG quality
    design::Frame *Frame1;
    QRadioButton *Option4, *Option5, *Option6, *Option1;
    QLabel *Label6, *Label5;
    QScrollBar *HScroll1;

    QPushButton *cndSave;
    QPushButton *cmdCancel;

    void Form_Load() override;
    void Drive1_Change();
    void Dir1_Change();
    void Dir1_Click();
    void Command1_Click();
    void Command2_Click();
    void HScroll1_Change();
    void cndSave_Click();
    void cmdCancel_Click();

    [[nodiscard]] savepath::Format chosenFormat() const;
    [[nodiscard]] int chosenQuality() const;

private:
    void buildFolderSide();
    void buildFormatSide();
    void buildQualityFrame();
    void wireHandlers();
};
