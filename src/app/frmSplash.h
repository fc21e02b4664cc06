#pragma once

#include <QFrame>
#include <QLabel>

#include "platform/Controls.h"
#include "platform/Forms.h"

// The splash window shown at start-up; two seconds later it unloads itself
// and shows the main window.
class frmSplash : public platform::Form
{
    Q_OBJECT

public:
    frmSplash();

    QFrame *fraMainFrame;
    QLabel *picLogo;
    QLabel *lblCompanyProduct;
    QLabel *lblProductName;
    QLabel *lblPlatform;
    QLabel *lblVersion;
    QLabel *lblNotice1;
    QLabel *lblNotice2;
    platform::Timer *Timer1;

    void Form_Load() override;
    void Timer1_Timer();
};
