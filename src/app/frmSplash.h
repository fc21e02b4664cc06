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

    QFrame *fraMainFrame = nullptr;
    QLabel *picLogo = nullptr;
    QLabel *lblCompanyProduct = nullptr;
    QLabel *lblProductName = nullptr;
    QLabel *lblPlatform = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblNotice1 = nullptr;
    QLabel *lblNotice2 = nullptr;
    platform::Timer *Timer1;

    void Form_Load() override;
    void Timer1_Timer();
};
