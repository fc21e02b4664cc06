#include <clocale>
#include <string>

#include <QtTest>

#include "rules/TextRules.h"
#include "base/Error.h"

using namespace textrules;

class TestTextRules : public QObject
{
    Q_OBJECT

private slots:
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain integer") << "37" << 37.0;
        QTest::newRow("blanks anywhere are ignored") << " 1 2 3 " << 123.0;
        QTest::newRow("tab and full-width space") << "\t4\u30005" << 45.0;
        QTest::newRow("sign") << "-12" << -12.0;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("one point") << "1.5" << 1.5;
        QTest::newRow("second point ends it") << "1.2.3" << 1.2;
        QTest::newRow("leading point") << ".25" << 0.25;
        QTest::newRow("stops at a letter") << "800px" << 800.0;
        QTest::newRow("exponent") << "1.5E3" << 1500.0;
        QTest::newRow("D exponent") << "2d2" << 200.0;
        QTest::newRow("negative exponent") << "25e-1" << 2.5;
        QTest::newRow("exponent without digits is not one") << "3e" << 3.0;
        QTest::newRow("exponent sign without digits") << "3e+x" << 3.0;
        QTest::newRow("no number") << "Label1" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("point alone") << "." << 0.0;
        QTest::newRow("hexadecimal") << "&H1F" << 31.0;
        QTest::newRow("lower-case hex prefix") << "&hff" << 255.0;
        QTest::newRow("hex stops at a non-digit") << "&H1G" << 1.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("16-bit hex reads negative") << "&HFFFF" << -1.0;
        QTest::newRow("32-bit hex reads negative") << "&HFFFFFFFF" << -1.0;
        QTest::newRow("hex past 16 bits stays positive") << "&H10000" << 65536.0;
        QTest::newRow("ampersand alone") << "&" << 0.0;
        QTest::newRow("full-width digits are not digits") << "\uFF11\uFF12" << 0.0;
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(textrules::leadingNumber(text), expected);
    }

    void hexBeyond32BitsOverflows()
    {
        QVERIFY_THROWS_EXCEPTION(imaging::Error, (void)textrules::leadingNumber(u"&H100000000"));
    }

    void strictNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "640" << true << 640.0;
        QTest::newRow("blanks around") << "  12.5 " << true << 12.5;
        QTest::newRow("exponent") << "1e3" << true << 1000.0;
        QTest::newRow("hex") << "&H10" << true << 16.0;
        QTest::newRow("trailing text") << "640x" << false << 0.0;
        QTest::newRow("blank inside") << "6 40" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("only blanks") << "   " << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("hex prefix alone") << "&H" << false << 0.0;
        QTest::newRow("sign alone") << "-" << false << 0.0;
    }
    void strictNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(double, value);
        const auto result = textrules::strictNumber(text);
        QCOMPARE(result.has_value(), isNumber);
        if (isNumber)
            QCOMPARE(*result, value);
    }

    void rounding_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("0.5 goes to 0") << 0.5 << 0.0;
        QTest::newRow("1.5 goes to 2") << 1.5 << 2.0;
        QTest::newRow("2.5 goes to 2") << 2.5 << 2.0;
        QTest::newRow("3.5 goes to 4") << 3.5 << 4.0;
        QTest::newRow("-0.5 goes to 0") << -0.5 << 0.0;
        QTest::newRow("-1.5 goes to -2") << -1.5 << -2.0;
        QTest::newRow("2.5001 goes up") << 2.5001 << 3.0;
        QTest::newRow("2.4999 goes down") << 2.4999 << 2.0;
    }
    void rounding()
    {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(roundHalfEven(value), expected);
    }

    void integerRanges_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("fits16");
        QTest::addColumn<bool>("fits32");
        QTest::newRow("zero") << 0.0 << true << true;
        QTest::newRow("16-bit top") << 32767.0 << true << true;
        QTest::newRow("16-bit top rounds up out") << 32767.5 << false << true;
        QTest::newRow("16-bit top rounds down in") << 32767.4 << true << true;
        QTest::newRow("16-bit bottom") << -32768.0 << true << true;
        QTest::newRow("below 16-bit bottom") << -32769.0 << false << true;
        QTest::newRow("32-bit top") << 2147483647.0 << false << true;
        QTest::newRow("past 32-bit top") << 2147483648.0 << false << false;
        QTest::newRow("32-bit bottom") << -2147483648.0 << false << true;
        QTest::newRow("not a number") << std::nan("") << false << false;
        QTest::newRow("infinity") << HUGE_VAL << false << false;
    }
    void integerRanges()
    {
        QFETCH(double, value);
        QFETCH(bool, fits16);
        QFETCH(bool, fits32);
        auto fits = [](auto convert) {
            try {
                (void)convert();
                return true;
            } catch (const imaging::Error &e) {
                [&] { QVERIFY(!e.description().isEmpty()); }();
                return false;
            }
        };
        QCOMPARE(fits([&] { return toInt16(value); }), fits16);
        QCOMPARE(fits([&] { return toInt32(value); }), fits32);
    }

    void conversionRoundsHalvesToEven()
    {
        QCOMPARE(toInt16(2.5), qint16(2));
        QCOMPARE(toInt32(-3.5), qint32(-4));
    }

    void product_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<bool>("overflows");
        QTest::newRow("photo pixels") << 5472 << 3648 << false;
        QTest::newRow("just fits") << 46340 << 46340 << false;
        QTest::newRow("just over") << 46341 << 46341 << true;
        QTest::newRow("negative fits") << -65536 << 32768 << false;
        QTest::newRow("negative over") << -65536 << 32769 << true;
    }
    void product()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(bool, overflows);
        if (overflows)
            QVERIFY_THROWS_EXCEPTION(imaging::Error, (void)multiply32(a, b));
        else
            QCOMPARE(multiply32(a, b), qint64(a) * b);
    }

    void formatNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1500 bytes") << 1500 / 1000.0 << "1.5";
        QTest::newRow("2000 bytes") << 2000 / 1000.0 << "2";
        QTest::newRow("999 bytes") << 999 / 1000.0 << "0.999";
        QTest::newRow("1 byte") << 1 / 1000.0 << "0.001";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("negative") << -0.25 << "-0.25";
        QTest::newRow("held to 15 digits") << 0.1 + 0.2 << "0.3";
        QTest::newRow("a third") << 1.0 / 3.0 << "0.333333333333333";
        QTest::newRow("large photo") << 12345678 / 1000.0 << "12345.678";
        QTest::newRow("no exponent when large") << 1e20 << "100000000000000000000";
        QTest::newRow("no exponent when small") << 1.5e-7 << "0.00000015";
    }
    void formatNumber()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(textrules::formatNumber(value), expected);
    }

    // Boxes are read and written the same under any locale: a German or
    // French LC_NUMERIC must not turn "3.5" into 3 or 1.5 into "1,5".
    void numbersIgnoreTheLocale()
    {
        const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
        const char *commaLocales[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "fr_FR.utf8"};
        bool installed = false;
        for (const char *name : commaLocales)
            installed = installed || std::setlocale(LC_NUMERIC, name) != nullptr;
        if (!installed)
            QSKIP("no locale with a decimal comma is installed");
        const double read = textrules::leadingNumber(u"3.5");
        const auto strict = textrules::strictNumber(u"2.5");
        const QString written = textrules::formatNumber(1.5);
        const double tiny = textrules::leadingNumber(u"1e-400");
        std::setlocale(LC_NUMERIC, previous.c_str());
        QCOMPARE(read, 3.5);
        QCOMPARE(strict, std::optional<double>(2.5));
        QCOMPARE(written, QStringLiteral("1.5"));
        QCOMPARE(tiny, 0.0);
    }

    void fileNameOf_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("several folders") << "/home/user/写真/夏 1.jpg" << "夏 1.jpg";
        QTest::newRow("no separator") << "photo.png" << "photo.png";
        QTest::newRow("ends in a separator") << "/home/user/" << "";
        QTest::newRow("root file") << "/a.bmp" << "a.bmp";
        QTest::newRow("several dots") << "/x/my.photo.v2.jpg" << "my.photo.v2.jpg";
        QTest::newRow("empty") << "" << "";
    }
    void fileNameOf()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(textrules::fileNameOf(path), expected);
    }
};

QTEST_GUILESS_MAIN(TestTextRules)
#include "tst_textrules.moc"
