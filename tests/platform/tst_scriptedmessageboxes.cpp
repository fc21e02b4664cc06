#include <QtTest>

#include "platform/MessageBox.h"
#include "support/ScriptedMessageBoxes.h"

using namespace platform;
using testsupport::ScriptedMessageBoxes;

// The fake every window test relies on to answer boxes and to catch boxes
// that should not have appeared.
class TestScriptedMessageBoxes : public QObject
{
    Q_OBJECT

private slots:
    void answersInOrderAndRecordsEachBox()
    {
        ScriptedMessageBoxes boxes;
        boxes.expect(msgbox::Yes, QStringLiteral("上書きしますか？"));
        boxes.expect(msgbox::No);
        QCOMPARE(messageBox(QStringLiteral("上書きしますか？"), msgbox::YesNo | msgbox::Question), int(msgbox::Yes));
        QCOMPARE(messageBox(QStringLiteral("数値を入力してください"), msgbox::YesNo, QStringLiteral("Caution")), int(msgbox::No));
        QCOMPARE(boxes.boxes().size(), 2);
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Morvell Image Viewer"));
        QCOMPARE(boxes.boxes()[0].style, msgbox::YesNo | msgbox::Question);
        QCOMPARE(boxes.boxes()[1].text, QStringLiteral("数値を入力してください"));
        QCOMPARE(boxes.boxes()[1].title, QStringLiteral("Caution"));
    }

    void problems_data()
    {
        QTest::addColumn<QStringList>("expected"); // texts of the expected boxes; "" for any text
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("all as expected") << QStringList{"Done", ""} << QStringList{"Done", "Anything"} << QStringList{};
        QTest::newRow("a box nobody expected")
            << QStringList{} << QStringList{"Oops"} << QStringList{"unexpected message box: \"Oops\" (style 0, title \"Morvell Image Viewer\")"};
        QTest::newRow("one box too many")
            << QStringList{"A"} << QStringList{"A", "B"} << QStringList{"unexpected message box: \"B\" (style 0, title \"Morvell Image Viewer\")"};
        QTest::newRow("an answer never asked for")
            << QStringList{"Done"} << QStringList{} << QStringList{"answer 1 to \"Done\" was never asked for"};
        QTest::newRow("a box saying something else")
            << QStringList{"Done"} << QStringList{"Failed"} << QStringList{"message box said \"Failed\", expected \"Done\""};
    }
    void problems()
    {
        QFETCH(QStringList, expected);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, problems);
        ScriptedMessageBoxes boxes;
        for (const QString &text : expected)
            boxes.expect(msgbox::Ok, text.isEmpty() ? QString() : text);
        for (const QString &text : shown)
            messageBox(text);
        QCOMPARE(boxes.takeProblems(), problems);
    }

    void anUnexpectedBoxBacksOut()
    {
        ScriptedMessageBoxes boxes;
        QCOMPARE(messageBox(QStringLiteral("削除しますか？"), msgbox::YesNo), int(msgbox::No));
        QCOMPARE(messageBox(QStringLiteral("続けますか？"), msgbox::OkCancel), int(msgbox::Cancel));
        QCOMPARE(boxes.takeProblems().size(), 2);
    }

    void verifyFailsTheRunningTest()
    {
        ScriptedMessageBoxes boxes;
        messageBox(QStringLiteral("Oops"));
        QEXPECT_FAIL("", "a box nobody expected fails the test", Continue);
        boxes.verify();
        // Had verify not failed, this check would be the unexpected pass.
        QCOMPARE(boxes.boxes().size(), 1);
    }

    void theEndOfItsScopeFailsTheRunningTest()
    {
        ScriptedMessageBoxes outer;
        outer.expect(msgbox::Retry);
        {
            ScriptedMessageBoxes inner;
            inner.expect(msgbox::Ok);
            QEXPECT_FAIL("", "an answer left unused fails the test", Continue);
        }
        // The outer fake is installed again.
        QCOMPARE(messageBox(QStringLiteral("もう一度")), int(msgbox::Retry));
    }
};

QTEST_MAIN(TestScriptedMessageBoxes)
#include "tst_scriptedmessageboxes.moc"
