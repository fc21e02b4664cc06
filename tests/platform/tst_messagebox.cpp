#include <QtTest>

#include <QMessageBox>
#include <QPushButton>

#include "platform/Guard.h"
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

    // A box opens over the window whose handler raised it, even when that
    // window is not the active one (just after the open-file dialog closed
    // there is none; the about box's message came out over the main window).
    void realBoxOpensOverTheWindowThatRaisedIt_data()
    {
        QTest::addColumn<bool>("raiserShown");
        QTest::addColumn<bool>("overRaiser");
        QTest::newRow("shown window") << true << true;
        QTest::newRow("hidden window: the active window or the screen") << false << false;
    }
    void realBoxOpensOverTheWindowThatRaisedIt()
    {
        QFETCH(bool, raiserShown);
        QFETCH(bool, overRaiser);
        QWidget main;
        main.setGeometry(20, 20, 600, 400);
        main.show();
        QWidget about;
        about.setGeometry(200, 150, 300, 200);
        about.setVisible(raiserShown);

        QWidget *parent = nullptr;
        QTimer::singleShot(0, [&] {
            if (QMessageBox *box = visibleMessageBox()) {
                parent = box->parentWidget();
                box->button(QMessageBox::Ok)->click();
            }
        });
        runHandler(&about, WhileBusy::Ignored, [] { messageBox(QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません")); });
        QCOMPARE(parent == &about, overRaiser);
        QCOMPARE(parent, overRaiser ? &about : QApplication::activeWindow());
    }

    void evenLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxWidthInChars"); // in widths of "あ"
        QTest::addColumn<int>("lines");
        QTest::newRow("fits: unchanged") << QStringLiteral("新しいディレクトリー名を入力して下さい") << 30 << 1;
        QTest::newRow("one character too long: two even halves")
            << QStringLiteral("あいうえおかきくけこさしすせそたちつてと") << 19 << 2;
        QTest::newRow("three lines' worth") << QString(50, u'あ') << 20 << 3;
        QTest::newRow("the save dialog's folder message")
            << QStringLiteral("Current Dirが決まっていませんﾃﾞｨﾚｸﾄﾘﾘｽﾄﾎﾞｯｸｽをｸﾘｯｸしてﾃﾞｨﾚｸﾄﾘを決定して下さい") << 30 << 2;
        QTest::newRow("given lines kept, each evened")
            << QStringLiteral("画像を開けませんでした。\n\n") + QString(25, u'か') << 20 << 4;
    }
    void evenLines()
    {
        QFETCH(QString, text);
        QFETCH(int, maxWidthInChars);
        QFETCH(int, lines);
        const QFontMetrics metrics(QApplication::font());
        const int maxWidth = metrics.horizontalAdvance(u'あ') * maxWidthInChars;
        const QStringList laidOut = platform::evenLines(text, metrics, maxWidth).split(u'\n');
        QCOMPARE(laidOut.size(), lines);
        QCOMPARE(laidOut.join(QString()).remove(u' '), QString(text).remove(u'\n').remove(u' '));
        // Even: no line much shorter than another, so none is left with a character or two.
        int widest = 0, narrowest = maxWidth;
        for (const QString &line : laidOut) {
            if (line.isEmpty())
                continue;
            QVERIFY2(metrics.horizontalAdvance(line) <= maxWidth, qPrintable(line));
            widest = std::max(widest, metrics.horizontalAdvance(line));
            narrowest = std::min(narrowest, metrics.horizontalAdvance(line));
        }
        if (lines > 1)
            QVERIFY2(narrowest * 3 >= widest * 2, qPrintable(laidOut.join(u'|')));
        // Latin words stay whole.
        const auto latin = [](QChar c) { return c.isLetter() && c.unicode() < 0x80; };
        for (qsizetype i = 1; i < laidOut.size(); ++i)
            if (!laidOut[i - 1].isEmpty() && !laidOut[i].isEmpty())
                QVERIFY2(!(latin(laidOut[i - 1].back()) && latin(laidOut[i].front())), qPrintable(laidOut.join(u'|')));
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
