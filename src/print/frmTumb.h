#pragma once

#include <QLabel>

#include "platform/Forms.h"

// One contact sheet page: 36 white picture cells in six rows and six
// columns, each with its file name beneath, the folder as the header and
// the page number. A frameless child of MDIThumb, taller than MDIThumb's
// client area; it is printed from its own drawing, so nothing is cut.
class frmTumb : public platform::Form
{
    Q_OBJECT

public:
    static constexpr int kCells = 36;
    static constexpr int kColumns = 6;

    frmTumb();

    QLabel *picThumb[kCells];
    QLabel *lblName[kCells];
    QLabel *Label1; // DIR:<folder>
    QLabel *Label2; // Page<n>

    // Leaves MDIThumb with the page.
    void Form_Unload() override;
};
