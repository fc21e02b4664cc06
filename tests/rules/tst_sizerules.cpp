#include <QtTest>

#include "base/Error.h"
#include "rules/SizeRules.h"

using sizerules::PixelSize;
using sizerules::Rule;
using sizerules::RuleTexts;

namespace {
constexpr int kFails = -1; // expected width of a rule that must throw
} // namespace

class TestSizeRules : public QObject
{
    Q_OBJECT

private slots:
    void newSize_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<QString>("first");  // side, width or Kbyte
        QTest::addColumn<QString>("second"); // height
        QTest::addColumn<int>("imageWidth");
        QTest::addColumn<int>("imageHeight");
        QTest::addColumn<int>("width"); // kFails: the rule throws
        QTest::addColumn<int>("height");

        const int longSide = int(Rule::LongSide);
        const int shortSide = int(Rule::ShortSide);
        const int free = int(Rule::Free);
        const int kbyte = int(Rule::Kbyte);
        const int box = int(Rule::Box);

        QTest::newRow("long 640, landscape") << longSide << "640" << "" << 1600 << 1200 << 640 << 480;
        QTest::newRow("long 640, portrait") << longSide << "640" << "" << 1200 << 1600 << 480 << 640;
        QTest::newRow("long 640, square") << longSide << "640" << "" << 900 << 900 << 640 << 640;
        QTest::newRow("long 800, portrait") << longSide << "800" << "" << 1200 << 1600 << 600 << 800;
        QTest::newRow("long 101 on 1000x999 rounds up to 101") << longSide << "101" << "" << 1000 << 999 << 101 << 101;
        QTest::newRow("a half goes to the even neighbour: 12.5 -> 12") << longSide << "25" << "" << 2 << 1 << 25 << 12;
        QTest::newRow("a half goes to the even neighbour: 13.5 -> 14") << longSide << "27" << "" << 2 << 1 << 27 << 14;
        QTest::newRow("typed 800.5 is 800") << longSide << "800.5" << "" << 1600 << 1200 << 800 << 600;
        QTest::newRow("blanks around a strict number") << longSide << " 640 " << "" << 1600 << 1200 << 640 << 480;
        QTest::newRow("long side not a number") << longSide << "640px" << "" << 1600 << 1200 << kFails << 0;
        QTest::newRow("long side empty") << longSide << "" << "" << 1600 << 1200 << kFails << 0;
        QTest::newRow("long side beyond 32 bits") << longSide << "3e9" << "" << 1600 << 1200 << kFails << 0;
        QTest::newRow("long side of infinity") << longSide << "1e400" << "" << 1600 << 1200 << kFails << 0;
        QTest::newRow("long 200000 computes, the resize refuses it") << longSide << "200000" << "" << 1600 << 1200 << 200000 << 150000;
        QTest::newRow("product beyond 32 bits") << longSide << "2000000" << "" << 1600 << 1200 << kFails << 0;
        QTest::newRow("short 480, landscape") << shortSide << "480" << "" << 1600 << 1200 << 640 << 480;
        QTest::newRow("short 600, portrait") << shortSide << "600" << "" << 1200 << 1600 << 600 << 800;
        QTest::newRow("short 300, square") << shortSide << "300" << "" << 900 << 900 << 300 << 300;
        QTest::newRow("free: leading numbers") << free << "640px" << "" << 1600 << 1200 << 640 << 0;
        QTest::newRow("free: empty boxes ask for 0 x 0") << free << "" << "" << 1600 << 1200 << 0 << 0;
        QTest::newRow("free: the ratio is ignored") << free << "100" << "300" << 1600 << 1200 << 100 << 300;
        QTest::newRow("free: beyond 32 bits") << free << "1e10" << "10" << 1600 << 1200 << kFails << 0;
        // 1000 x 1000 holds 3000 x 1000 bytes: 3000 Kbyte.
        QTest::newRow("Kbyte: the current size keeps the size") << kbyte << "3000" << "" << 1000 << 1000 << 1000 << 1000;
        QTest::newRow("Kbyte: a quarter halves both sides") << kbyte << "750" << "" << 1000 << 1000 << 500 << 500;
        QTest::newRow("Kbyte: landscape") << kbyte << "600" << "" << 1000 << 800 << 500 << 400;
        QTest::newRow("Kbyte: portrait") << kbyte << "600" << "" << 800 << 1000 << 400 << 500;
        QTest::newRow("Kbyte: negative") << kbyte << "-100" << "" << 1000 << 1000 << kFails << 0;
        QTest::newRow("Kbyte: not a number") << kbyte << "100KB" << "" << 1000 << 1000 << kFails << 0;
        QTest::newRow("Kbyte: an image under 500 bytes is 0 Kbyte") << kbyte << "100" << "" << 10 << 10 << kFails << 0;
        QTest::newRow("box 800x800, landscape") << box << "800" << "800" << 1600 << 1200 << 800 << 600;
        QTest::newRow("box 800x800, portrait") << box << "800" << "800" << 1200 << 1600 << 600 << 800;
        QTest::newRow("box 800x500: the height limits") << box << "800" << "500" << 1600 << 1200 << 667 << 500;
        QTest::newRow("box 800x500 enlarges a small image") << box << "800" << "500" << 500 << 300 << 800 << 480;
        QTest::newRow("box 500x800, portrait, the width limits") << box << "500" << "800" << 1200 << 1600 << 500 << 667;
        QTest::newRow("box 800x600: a square takes the box's shape") << box << "800" << "600" << 1000 << 1000 << 800 << 600;
        QTest::newRow("box: leading numbers") << box << "800px" << "600 px" << 1600 << 1200 << 800 << 600;
        QTest::newRow("box of 40000 is beyond 16 bits") << box << "40000" << "800" << 1600 << 1200 << kFails << 0;
        QTest::newRow("box 32767 times a large side stays in 32 bits") << box << "32767" << "32767" << 30000 << 20000 << 32767 << 21845;
    }
    void newSize()
    {
        QFETCH(int, rule);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, imageWidth);
        QFETCH(int, imageHeight);
        QFETCH(int, width);
        QFETCH(int, height);

        RuleTexts texts;
        texts.rule = Rule(rule);
        texts.side = first;
        texts.kbyte = first;
        texts.width = first;
        texts.height = second;
        const PixelSize image{imageWidth, imageHeight};
        if (width == kFails) {
            QVERIFY_THROWS_EXCEPTION(imaging::Error, (void)sizerules::newSize(texts, image));
            return;
        }
        QCOMPARE(sizerules::newSize(texts, image), (PixelSize{width, height}));
    }

    // The rule as the windows state it: a data size of 400000 bytes (K =
    // 400) and a target of 100 Kbyte scale by 0.5.
    void kbyteScalesBySquareRootOfRatio()
    {
        QCOMPARE(sizerules::kbyteSize({1000, 800}, 400, 100), (PixelSize{500, 400}));
        QVERIFY_THROWS_EXCEPTION(imaging::Error, (void)sizerules::kbyteSize({1000, 800}, 0, 100));
    }

    void currentKbyteCountsPaddedRows()
    {
        // 3 x 2: rows of 9 bytes padded to 12, 24 bytes: 0 Kbyte; 1000 x 1000: 3000.
        QCOMPARE(sizerules::currentKbyte({3, 2}), 0);
        QCOMPARE(sizerules::currentKbyte({1000, 1000}), 3000);
        QCOMPARE(sizerules::currentKbyte({333, 1000}), 1000); // 999 bytes padded to 1000 a row
    }

    void resolutionDpi_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("dpi"); // -1: throws
        QTest::newRow("leading number") << "300dpi" << 300;
        QTest::newRow("empty is 0, no resolution known") << "" << 0;
        QTest::newRow("halves to even") << "72.5" << 72;
        QTest::newRow("the most a JPEG stores") << "65535" << 65535;
        QTest::newRow("beyond a JPEG's density") << "65536" << -1;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("beyond 32 bits") << "1e12" << -1;
    }
    void resolutionDpi()
    {
        QFETCH(QString, text);
        QFETCH(int, dpi);
        if (dpi < 0) {
            QVERIFY_THROWS_EXCEPTION(imaging::Error, (void)sizerules::resolutionDpi(text));
            return;
        }
        QCOMPARE(sizerules::resolutionDpi(text), dpi);
    }
};

QTEST_GUILESS_MAIN(TestSizeRules)
#include "tst_sizerules.moc"
