#pragma once

#include <QPushButton>

#include "viewer/FolderPicker.h"

// The slideshow folder picker. Opening it puts the main window's image
// buttons out of use; "指定" turns the main window to slideshow mode for the
// folder in the box and only hides the picker; "中止" gives the buttons back
// and closes it.
class frmSlidePath : public FolderPicker
{
    Q_OBJECT

public:
    frmSlidePath();

    QPushButton *cmdSloaddir; // 指定
    QPushButton *cmdScancel;  // 中止

    void Form_Load() override;
    void cmdSloaddir_Click();
    void cmdScancel_Click();
};
