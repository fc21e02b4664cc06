#include "app/Form2.h"

#include <QKeyEvent>

#include "app/DesignFonts.h"
#include "app/Module1.h"
#include "rules/TextRules.h"
#include "platform/Events.h"
#include "platform/Guard.h"
#include "platform/Twips.h"
#include "viewer/frmviewer.h"

using platform::place;

Form2::Form2()
    : Label3(new QLabel(this))
    , ProgressBar1(new QProgressBar(this))
    , Label1(new QLabel(QStringLiteral("Label1"), this))
    , Label2(new QLabel(QStringLiteral("％"), this))
    , Command1(new QPushButton(QStringLiteral("中止"), this))
{
    setWindowTitle(QStringLiteral("Progress"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(192, 192, 255));
    setPalette(background);
    setFixedSize(platform::twipsRect(0, 0, 3240, 1215).size());

    const QColor blue(0, 0, 255), darkBlue(0, 0, 128);
    for (auto [label, colour] : {std::pair{Label3, blue}, {Label1, blue}, {Label2, darkBlue}}) {
        QPalette text = label->palette();
        text.setColor(QPalette::WindowText, colour);
        label->setPalette(text);
    }
    Label3->move(platform::twipsToPixels(240), platform::twipsToPixels(120));
    Label3->adjustSize(); // sized to its text, as the caller sets it
    place(ProgressBar1, 240, 480, 2775, 255);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    place(Label1, 240, 840, 855, 255);
    place(Label2, 1200, 960, 180, 180);
    place(Command1, 1680, 840, 1335, 255);
    Command1->setDefault(true);
    Command1->setAutoDefault(true);

    Label3->setObjectName(QStringLiteral("Label3"));
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Command1->setObjectName(QStringLiteral("Command1"));

    // The stop button is the one click that must get through while an
    // operation yields to the event loop.
    platform::onClick(Command1, this, &Form2::Command1_Click, platform::WhileBusy::Allowed);
}

void Form2::Form_Load()
{
    CancelFlag = 0;
    // Just below the main window, left-aligned with it. The design's outer
    // height is used, so the place does not depend on the desktop's frames.
    if (forms::isLoaded<frmviewer>()) {
        const auto *viewer = forms::get<frmviewer>();
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
