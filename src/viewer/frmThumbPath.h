#pragma once

#include <QPushButton>

#include "viewer/FolderPicker.h"

// The thumbnail folder picker: "サムネールを作る" makes the main window tall
// enough to show its strip and builds the strip of the folder in the box;
// the strip's first picture closes the picker. "中止" closes it and hides
// the strip.
class frmThumbPath : public FolderPicker
{
    Q_OBJECT

public:
    frmThumbPath();

    QPushButton *Command1; // サムネールを作る
    QPushButton *Command2; // 中止

    void Command1_Click();
    void Command2_Click();
};
