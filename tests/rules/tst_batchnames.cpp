#include <QtTest>

#include "base/Error.h"
#include "rules/BatchNames.h"

using savepath::Format;
using savepath::Quality;

class TestBatchNames : public QObject
{
    Q_OBJECT

private slots:
    void outputName_data()
    {
        QTest::addColumn<QString>("entryName");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("expected"); // empty: the name cannot be cut
        QTest::newRow("whole name lower-cased for JPEG") << "IMG_0001.JPG" << int(Format::Jpeg) << "img_0001.jpg";
        QTest::newRow("BMP") << "IMG_0001.JPG" << int(Format::Bmp) << "img_0001.bmp";
        QTest::newRow("TIFF") << "scan.png" << int(Format::Tiff) << "scan.tif";
        QTest::newRow("PNG") << "scan.bmp" << int(Format::Png) << "scan.png";
        QTest::newRow("a four-letter extension keeps its dot") << "Photo.JPEG" << int(Format::Jpeg) << "photo..jpg";
        QTest::newRow("no extension loses four characters") << "Picture" << int(Format::Jpeg) << "pic.jpg";
        QTest::newRow("Japanese and blanks") << "夏の 写真.JPG" << int(Format::Jpeg) << "夏の 写真.jpg";
        QTest::newRow("exactly four characters") << "a.jp" << int(Format::Jpeg) << ".jpg";
        QTest::newRow("three characters cannot be cut") << "a.j" << int(Format::Jpeg) << "";
        QTest::newRow("two characters cannot be cut") << "ab" << int(Format::Jpeg) << "";
    }
    void outputName()
    {
        QFETCH(QString, entryName);
        QFETCH(int, format);
        QFETCH(QString, expected);
        if (expected.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(imaging::Error, (void)batchnames::outputName(entryName, Format(format)));
            return;
        }
        QCOMPARE(batchnames::outputName(entryName, Format(format)), expected);
    }

    void withCopySuffix_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected"); // empty: throws
        QTest::newRow("before the extension") << "a.jpg" << "a_1.jpg";
        QTest::newRow("again") << "a_1.jpg" << "a_1_1.jpg";
        QTest::newRow("a path") << "/out/dir.x/a.jpg" << "/out/dir.x/a_1.jpg";
        QTest::newRow("the source's own extension") << "b.bmp" << "b_1.bmp";
        QTest::newRow("a four-letter extension is cut after its dot") << "Photo.JPEG" << "Photo._1JPEG";
        QTest::newRow("too short") << "a.j" << "";
    }
    void withCopySuffix()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        if (expected.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(imaging::Error, (void)batchnames::withCopySuffix(name));
            return;
        }
        QCOMPARE(batchnames::withCopySuffix(name), expected);
    }

    void batchQuality_data()
    {
        QTest::addColumn<int>("quality");
        QTest::addColumn<QString>("custom");
        QTest::addColumn<int>("expected"); // -1: throws
        QTest::newRow("40 ignores the custom text") << int(Quality::Q40) << "" << 40;
        QTest::newRow("60") << int(Quality::Q60) << "abc" << 60;
        QTest::newRow("80") << int(Quality::Q80) << "" << 80;
        QTest::newRow("custom") << int(Quality::Custom) << "75" << 75;
        QTest::newRow("custom halves to even") << int(Quality::Custom) << "74.5" << 74;
        QTest::newRow("custom empty fails") << int(Quality::Custom) << "" << -1;
        QTest::newRow("custom with text after the number fails") << int(Quality::Custom) << "75%" << -1;
        QTest::newRow("custom beyond 16 bits fails") << int(Quality::Custom) << "40000" << -1;
    }
    void batchQuality()
    {
        QFETCH(int, quality);
        QFETCH(QString, custom);
        QFETCH(int, expected);
        if (expected < 0) {
            QVERIFY_THROWS_EXCEPTION(imaging::Error, (void)batchnames::batchQuality(Quality(quality), custom));
            return;
        }
        QCOMPARE(int(batchnames::batchQuality(Quality(quality), custom)), expected);
    }
};

QTEST_GUILESS_MAIN(TestBatchNames)
#include "tst_batchnames.moc"
