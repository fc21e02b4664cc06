#include <QtTest>

#include <QMessageBox>
#include <QPushButton>

#include "platform/MessageBox.h"

using namespace platform;

namespace {

struct SeenBox
{
    QString title;
    QString text;
    int icon = -1;
    int buttons = 0;
    int defaultButton = 0;
};

QMessageBox *visibleMessageBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

} // namespace

// The real box, answered by pressing its buttons once it shows.
class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void realBox_data()
    {
        using B = QMessageBox;
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<int>("press"); // NoButton: the Escape key
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("shownTitle");

        const QString app = QStringLiteral("Morvell Image Viewer");
        QTest::newRow("OK only, no title") << int(msgbox::OkOnly) << "" << int(B::Ok) << int(B::NoIcon) << int(B::Ok)
                                           << int(B::Ok) << int(msgbox::Ok) << app;
        QTest::newRow("OK/Cancel, question, second default")
            << (msgbox::OkCancel | msgbox::Question | msgbox::DefaultButton2) << "Caution" << int(B::Ok | B::Cancel)
            << int(B::Question) << int(B::Cancel) << int(B::Cancel) << int(msgbox::Cancel) << "Caution";
        QTest::newRow("Abort/Retry/Ignore, critical, third default")
            << (msgbox::AbortRetryIgnore | msgbox::Critical | msgbox::DefaultButton3) << "" << int(B::Abort | B::Retry | B::Ignore)
            << int(B::Critical) << int(B::Ignore) << int(B::Abort) << int(msgbox::Abort) << app;
        QTest::newRow("Abort/Retry/Ignore answered Ignore")
            << int(msgbox::AbortRetryIgnore) << "" << int(B::Abort | B::Retry | B::Ignore) << int(B::NoIcon) << int(B::Abort)
            << int(B::Ignore) << int(msgbox::Ignore) << app;
        QTest::newRow("Yes/No/Cancel, exclamation")
            << (msgbox::YesNoCancel | msgbox::Exclamation) << "" << int(B::Yes | B::No | B::Cancel) << int(B::Warning)
            << int(B::Yes) << int(B::No) << int(msgbox::No) << app;
        QTest::newRow("Yes/No, information, second default")
            << (msgbox::YesNo | msgbox::Information | msgbox::DefaultButton2) << "" << int(B::Yes | B::No)
            << int(B::Information) << int(B::No) << int(B::Yes) << int(msgbox::Yes) << app;
        QTest::newRow("third default of two buttons falls back to the first")
            << (msgbox::YesNo | msgbox::DefaultButton3) << "" << int(B::Yes | B::No) << int(B::NoIcon) << int(B::Yes)
            << int(B::Yes) << int(msgbox::Yes) << app;
        QTest::newRow("Retry/Cancel") << int(msgbox::RetryCancel) << "" << int(B::Retry | B::Cancel) << int(B::NoIcon)
                                      << int(B::Retry) << int(B::Retry) << int(msgbox::Retry) << app;
        QTest::newRow("Escape on OK/Cancel cancels") << int(msgbox::OkCancel) << "" << int(B::Ok | B::Cancel)
                                                     << int(B::NoIcon) << int(B::Ok) << int(B::NoButton)
                                                     << int(msgbox::Cancel) << app;
        QTest::newRow("Escape on OK only answers OK") << int(msgbox::OkOnly) << "" << int(B::Ok) << int(B::NoIcon)
                                                      << int(B::Ok) << int(B::NoButton) << int(msgbox::Ok) << app;
    }
    void realBox()
    {
        QFETCH(int, style);
        QFETCH(QString, title);
        QFETCH(int, buttons);
        QFETCH(int, icon);
        QFETCH(int, defaultButton);
        QFETCH(int, press);
        QFETCH(int, answer);
        QFETCH(QString, shownTitle);

        SeenBox seen;
        QTimer::singleShot(0, [&] {
            QMessageBox *box = visibleMessageBox();
            if (!box)
                return;
            seen = {box->windowTitle(), box->text(), int(box->icon()), int(box->standardButtons()),
                    int(box->standardButton(box->defaultButton()))};
            if (press == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(QMessageBox::StandardButton(press))->click();
        });
        QCOMPARE(messageBox(QStringLiteral("画像を保存しますか？"), style, title), answer);
        QCOMPARE(seen.text, QStringLiteral("画像を保存しますか？"));
        QCOMPARE(seen.title, shownTitle);
        QCOMPARE(seen.buttons, buttons);
        QCOMPARE(seen.icon, icon);
        QCOMPARE(seen.defaultButton, defaultButton);
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
