#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "platform/Forms.h"

// The progress dialog long operations show while the imaging suite works: a
// status line, a bar fed by the suite's progress events, the percentage and
// a stop button that only raises CancelFlag.
class Form2 : public platform::Form
{
    Q_OBJECT

public:
    Form2();

    QLabel *Label3 = nullptr;             // status line, set by the caller
    QProgressBar *ProgressBar1 = nullptr; // 0..100
    QLabel *Label1 = nullptr;             // percentage as text; "Label1" until the first event
    QLabel *Label2 = nullptr;             // "％"
    QPushButton *Command1 = nullptr;      // "中止"

    void Form_Load() override;
    void Form_Unload() override;
    void Label1_Change();
    void Command1_Click();

    // The status line, sized to its text.
    void setStatus(const QString &text);
    // Sets Label1's caption; Label1_Change runs when it differs.
    void setLabel1Caption(const QString &caption);

    // What every progress event handler does: the percentage into Label1,
    // Label1 repainted at once, then one yield to the event loop so the
    // stop button can be pressed.
    static void reportProgress(int percent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// Shows the progress dialog for the length of a scope (with the status line
// when one is given) and unloads it at the end, also when the call in between
// throws, so a failed operation never leaves the dialog behind.
class ProgressDialogScope
{
public:
    explicit ProgressDialogScope(const QString &status = QString());
    ~ProgressDialogScope();
    ProgressDialogScope(const ProgressDialogScope &) = delete;
    ProgressDialogScope &operator=(const ProgressDialogScope &) = delete;
};
