#pragma once

#include <QLabel>
#include <QPushButton>

#include "platform/Forms.h"
#include "platform/core/Seams.h"

// The about box: product name, version, a description and a notice, and a
// button that starts the system information program where there is one.
class frmAbout : public platform::Form
{
    Q_OBJECT

public:
    frmAbout();

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QWidget *Line1[2] = {};
    QLabel *lblDisclaimer = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;

    void Form_Load() override;
    void cmdOK_Click();
    void cmdSysInfo_Click();

    // Starts the system information program, or says it cannot.
    void StartSysInfo();
    // Reads one registry value as text; false (and an empty text) when the
    // key or the value cannot be read.
    static bool GetKeyValue(platform::RegistryRoot root, const QString &keyName, const QString &valueName,
                            QString &value);

    static const QString kProductTitle;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
