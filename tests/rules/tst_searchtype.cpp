#include <QtTest>

#include "rules/SearchType.h"

namespace {

// A search's result list: files, a folder named like a file type, a
// subfolder and its file.
QStringList searchResult()
{
    return {"/t/a.jpg", "/t/b.JPG", "/t/c.Jpg", "/t/photosjpg", "/t/sub", "/t/sub/d.jpg",
            "/t/e.TIF", "/t/f.jpeg", "/t/g.gif", "/t/h.png"};
}

} // namespace

class TestSearchType : public QObject
{
    Q_OBJECT

private slots:
    void typeKeys_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("listed type") << "JPG(jpg)" << "JPG" << "jpg";
        QTest::newRow("three characters give one key twice") << "gif" << "gif" << "gif";
        QTest::newRow("jpeg gives jpe") << "jpeg" << "jpe" << "jpe";
        QTest::newRow("empty") << "" << "" << "";
    }
    void typeKeys()
    {
        QFETCH(QString, type);
        QFETCH(QString, a);
        QFETCH(QString, b);
        const searchtype::TypeKeys keys = searchtype::typeKeys(type);
        QCOMPARE(keys.a, a);
        QCOMPARE(keys.b, b);
    }

    void selectedEntries_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("expected");
        const QStringList all = searchResult();
        QTest::newRow("JPG(jpg): exact case, no dot needed")
            << "JPG(jpg)" << QStringList{"/t/a.jpg", "/t/b.JPG", "/t/photosjpg", "/t/sub/d.jpg"};
        QTest::newRow("TIF(tif)") << "TIF(tif)" << QStringList{"/t/e.TIF"};
        QTest::newRow("a typed gif") << "gif" << QStringList{"/t/g.gif"};
        QTest::newRow("a typed jpeg finds no .jpeg") << "jpeg" << QStringList{};
        QTest::newRow("* takes everything") << "*" << all;
        QTest::newRow("*.* takes everything") << "*.*" << all;
        QTest::newRow("an empty type takes nothing") << "" << QStringList{};
    }
    void selectedEntries()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, expected);
        QCOMPARE(searchtype::selectedEntries(searchResult(), type), expected);
    }
};

QTEST_GUILESS_MAIN(TestSearchType)
#include "tst_searchtype.moc"
