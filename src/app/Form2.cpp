#include "app/Form2.h"

#include <QKeyEvent>

#include "app/Design.h"
#include "app/Module1.h"
#include "rules/TextRules.h"
#include "platform/Events.h"
#include "platform/Guard.h"
#include "platform/Twips.h"
#include "viewer/frmviewer.h"

Form2::Form2()
{
    using design::control;
    setWindowTitle(QStringLiteral("Progress"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    design::setBackground(this, design::kPanelBlue);
    platform::setClientSizeTwips(this, 3240, 1215);

    // The status line has only a place: it is sized to the text the caller sets.
    Label3 = control<QLabel>(this, "Label3", QString(), 240, 120, 0, 0);
    Label3->adjustSize();
    ProgressBar1 = control<QProgressBar>(this, "ProgressBar1", 240, 480, 2775, 255);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Label1 = control<QLabel>(this, "Label1", QStringLiteral("Label1"), 240, 840, 855, 255);
    Label2 = control<QLabel>(this, "Label2", QStringLiteral("％"), 1200, 960, 180, 180);
    Command1 = control<QPushButton>(this, "Command1", QStringLiteral("中止"), 1680, 840, 1335, 255);
    Command1->setDefault(true);
    Command1->setAutoDefault(true);
    design::setTextColour(Label3, design::kBlueText);
    design::setTextColour(Label1, design::kBlueText);
    design::setTextColour(Label2, design::kDarkBlueText);

    // The stop button is the one click that must get through while an
    // operation yields to the event loop.
    platform::onClick(Command1, this, &Form2::Command1_Click, platform::WhileBusy::Allowed);
}

void Form2::Form_Load()
{
    CancelFlag = 0;
    // Just below the main window, left-aligned with it. The design's outer
    // height is used, so the place does not depend on the desktop's frames.
    if (const frmviewer *viewer = mainWindowIfLoaded()) {
        const QPoint at = platform::positionTwips(viewer);
        platform::moveTwips(this, at.x(), at.y() + platform::outerSizeTwips(viewer).height() + 200);
    }
}

void Form2::Form_Unload()
{
    Label3->setText(QStringLiteral("処理中"));
}

void Form2::setLabel1Caption(const QString &caption)
{
    if (caption == Label1->text())
        return;
    Label1->setText(caption);
    Label1_Change();
}

void Form2::Label1_Change()
{
    ProgressBar1->setValue(textrules::toInt16(textrules::leadingNumber(Label1->text())));
}

// "中止" is the default button: Enter presses it.
void Form2::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Command1->click();
        return;
    }
    platform::Form::keyPressEvent(event);
}

void Form2::Command1_Click()
{
    CancelFlag = 1;
}

void Form2::setStatus(const QString &text)
{
    Label3->setText(text);
    Label3->adjustSize();
}

void Form2::reportProgress(int percent)
{
    // Only a shown dialog is updated: a progress event must not build one.
    if (!forms::isLoaded<Form2>()) {
        platform::yieldToEventLoop();
        return;
    }
    auto *dialog = forms::get<Form2>();
    dialog->setLabel1Caption(QString::number(percent));
    dialog->Label1->repaint();
    platform::yieldToEventLoop();
}

ProgressDialogScope::ProgressDialogScope(const QString &status)
{
    auto *dialog = forms::get<Form2>();
    dialog->Show();
    if (!status.isEmpty())
        dialog->setStatus(status);
}

ProgressDialogScope::~ProgressDialogScope()
{
    forms::unload<Form2>();
}
