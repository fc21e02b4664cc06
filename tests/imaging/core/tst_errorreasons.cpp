// The one table of reasons: every kind of failure reads as a short Japanese
// sentence, followed by the detail in parentheses when there is one.

#include <QtTest>

#include "base/Error.h"

using imaging::Error;
using Kind = imaging::Error::Kind;

Q_DECLARE_METATYPE(imaging::Error::Kind)

class TestErrorReasons : public QObject
{
    Q_OBJECT

private slots:
    void everyKindHasItsReason_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("description");

        QTest::newRow("unsupported") << Kind::Unsupported << QString() << "対応していない形式です";
        QTest::newRow("unsupported variant") << Kind::Unsupported << "12 ビット JPEG"
                                             << "対応していない形式です (12 ビット JPEG)";
        QTest::newRow("damaged") << Kind::Damaged << "IDAT: CRC error" << "ファイルが壊れています (IDAT: CRC error)";
        QTest::newRow("too large") << Kind::TooLarge << "40000 × 30000" << "画像が大きすぎます (40000 × 30000)";
        QTest::newRow("not found") << Kind::NotFound << QString() << "ファイルが見つかりません";
        QTest::newRow("not a regular file") << Kind::NotRegularFile << QString() << "通常のファイルではありません";
        QTest::newRow("unreadable") << Kind::Unreadable << "読み取る権限がありません"
                                    << "ファイルを読み取れません (読み取る権限がありません)";
        QTest::newRow("write failed") << Kind::WriteFailed << "No space left on device"
                                      << "ファイルに書き込めません (No space left on device)";
        QTest::newRow("invalid handle") << Kind::InvalidHandle << QString() << "画像がありません";
        QTest::newRow("invalid argument") << Kind::InvalidArgument << "0 × 10" << "指定された値が正しくありません (0 × 10)";
        QTest::newRow("cancelled") << Kind::Cancelled << QString() << "中止しました";
    }
    void everyKindHasItsReason()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, detail);
        QFETCH(QString, description);

        const Error error = Error::of(kind, detail);
        QCOMPARE(error.kind(), kind);
        QCOMPARE(error.description(), description);
        QCOMPARE(QString::fromUtf8(error.what()), description); // what the error log records
    }
};

QTEST_GUILESS_MAIN(TestErrorReasons)
#include "tst_errorreasons.moc"
