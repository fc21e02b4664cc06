// The number rules of the adjustment dialogs, without windows.

#include <QtTest>

#include "adjust/AdjustCommon.h"
#include "base/Error.h"

class TestAdjustRules : public QObject
{
    Q_OBJECT

private slots:
    void enteredAngle_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("clockwise");
        QTest::addColumn<qint32>("hundredths");

        QTest::newRow("45 clockwise passes 4500") << "45" << true << 4500;
        QTest::newRow("45 counter-clockwise passes -4500") << "45" << false << -4500;
        QTest::newRow("-45 counter-clockwise passes 4500") << "-45" << false << 4500;
        QTest::newRow("30 counter-clockwise passes -3000") << "30" << false << -3000;
        QTest::newRow("0.125: halves to even, 12") << "0.125" << true << 12;
        QTest::newRow("0.375: halves to even, 38") << "0.375" << true << 38;
        QTest::newRow("-0.125 counter-clockwise: 12") << "-0.125" << false << 12;
        QTest::newRow("empty box turns by 0") << "" << true << 0;
        QTest::newRow("text without a number turns by 0") << "abc" << false << 0;
        QTest::newRow("blanks inside are ignored") << " 9 0 " << true << 9000;
        QTest::newRow("reading stops at the unit") << "90度" << true << 9000;
        QTest::newRow("exponent") << "1.5e2" << true << 15000;
        QTest::newRow("largest that fits") << "21474836.47" << true << 2147483647;
        QTest::newRow("smallest that fits") << "-21474836.48" << true << -2147483647 - 1;
    }

    void enteredAngle()
    {
        QFETCH(QString, text);
        QFETCH(bool, clockwise);
        QFETCH(qint32, hundredths);
        QCOMPARE(adjust::enteredAngle(text, clockwise), hundredths);
    }

    void angleThatDoesNotFit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("clockwise");

        QTest::newRow("one hundredth above the largest") << "21474836.48" << true;
        QTest::newRow("the smallest negated by counter-clockwise") << "-21474836.48" << false;
        QTest::newRow("far beyond") << "1e300" << true;
        QTest::newRow("beyond, counter-clockwise") << "-3e7" << false;
    }

    void angleThatDoesNotFit()
    {
        QFETCH(QString, text);
        QFETCH(bool, clockwise);
        try {
            (void)adjust::enteredAngle(text, clockwise);
            QFAIL("an angle beyond 32 bits was accepted");
        } catch (const imaging::Error &error) {
            QCOMPARE(error.description(), QStringLiteral("オーバーフローしました。"));
        }
    }

    void saturationBarValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("inRange");
        QTest::addColumn<int>("bar");

        QTest::newRow("0") << "0" << true << 0;
        QTest::newRow("12.5 rounds to even 12") << "12.5" << true << 12;
        QTest::newRow("13.5 rounds to even 14") << "13.5" << true << 14;
        QTest::newRow("999.5 rounds to 1000") << "999.5" << true << 1000;
        QTest::newRow("right end 1000") << "1000" << true << 1000;
        QTest::newRow("left end -100") << "-100" << true << -100;
        QTest::newRow("lone minus sign reads as 0") << "-" << true << 0;
        QTest::newRow("empty box reads as 0") << "" << true << 0;
        QTest::newRow("text without a number reads as 0") << "abc" << true << 0;
        QTest::newRow("leading number of 250abc") << "250abc" << true << 250;
        QTest::newRow("hexadecimal") << "&H10" << true << 16;
        QTest::newRow("1000.4 is beyond the right end") << "1000.4" << false << 0;
        QTest::newRow("1001") << "1001" << false << 0;
        QTest::newRow("2000") << "2000" << false << 0;
        QTest::newRow("-100.5 is beyond the left end") << "-100.5" << false << 0;
        QTest::newRow("-101") << "-101" << false << 0;
    }

    void saturationBarValue()
    {
        QFETCH(QString, text);
        QFETCH(bool, inRange);
        QFETCH(int, bar);
        const std::optional<qint16> value = adjust::saturationBarValue(text);
        QCOMPARE(value.has_value(), inRange);
        if (inRange)
            QCOMPARE(int(*value), bar);
    }

    // A number beyond what a double holds is an overflow, not a level.
    void levelTextBeyondDouble()
    {
        QVERIFY_THROWS_EXCEPTION(imaging::Error, (void)adjust::saturationBarValue(u"1e999"));
    }
};

QTEST_GUILESS_MAIN(TestAdjustRules)
#include "tst_adjustrules.moc"
