// Captions of the design's multi-line buttons break at their blanks.

#include <QtTest>

#include "app/Design.h"
#include "app/DesignFonts.h"

class TestDesign : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { designfonts::install(); }

    void wrapAtBlanks_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("widthInChars"); // in widths of "サ"
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("the contact-sheet button: blanks around and inside")
            << QStringLiteral("   サムネールの    プリント") << 8
            << QStringList{QStringLiteral("サムネールの"), QStringLiteral("プリント")};
        QTest::newRow("wide enough: one line, blanks collapsed")
            << QStringLiteral("a  b") << 20 << QStringList{QStringLiteral("a b")};
        QTest::newRow("a word wider than the button keeps a line of its own")
            << QStringLiteral("サムネールの x") << 3
            << QStringList{QStringLiteral("サムネールの"), QStringLiteral("x")};
        QTest::newRow("only blanks: nothing to draw") << QStringLiteral("   ") << 5 << QStringList{};
    }

    void wrapAtBlanks()
    {
        QFETCH(QString, caption);
        QFETCH(int, widthInChars);
        QFETCH(QStringList, lines);
        const QFontMetrics metrics(QApplication::font());
        const int width = metrics.horizontalAdvance(QStringLiteral("サ")) * widthInChars;
        QCOMPARE(design::wrapAtBlanks(caption, metrics, width), lines);
    }
};

QTEST_MAIN(TestDesign)
#include "tst_design.moc"
