#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/core/FolderEntries.h"

using folderlists::EntryKind;

namespace {

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

class TestFolderEntries : public QObject
{
    Q_OBJECT

private slots:
    void order_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("digits by value: IMG2 before IMG10") << "IMG2.jpg" << "IMG10.jpg";
        QTest::newRow("letter case ignored") << "apple.jpg" << "Banana.jpg";
        QTest::newRow("leading zeros do not count") << "p007.jpg" << "p8.jpg";
        QTest::newRow("shorter name first") << "a" << "a1";
        QTest::newRow("long numbers beyond 64 bits") << "x99999999999999999999" << "x100000000000000000000";
        QTest::newRow("ties broken by case, always the same way") << "A.jpg" << "a.jpg";
        QTest::newRow("Japanese after Latin") << "z.jpg" << "写真.jpg";
    }
    void order()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QVERIFY(folderlists::listsBefore(first, second));
        QVERIFY(!folderlists::listsBefore(second, first));
    }

    // Everything a folder may hold besides plain files and folders.
    void entries_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("patterns");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("files: regular and linked only, no dot-files")
            << int(EntryKind::Files) << QStringList()
            << QStringList{"IMG2.JPG", "img10.jpg", "link.jpg", "notes.txt", "写真 1.png"};
        QTest::newRow("files by pattern, letter case ignored")
            << int(EntryKind::Files) << QStringList{"*.jpg"} << QStringList{"IMG2.JPG", "img10.jpg", "link.jpg"};
        QTest::newRow("folders: real and linked, no dot-folders")
            << int(EntryKind::Folders) << QStringList() << QStringList{"linked", "sub", "x.jpg"};
    }
    void entries()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, patterns);
        QFETCH(QStringList, expected);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString root = dir.path() + u'/';
        for (const char *name : {"img10.jpg", "IMG2.JPG", "notes.txt", ".hidden.jpg"})
            touch(root + QString::fromLatin1(name));
        touch(root + QStringLiteral("写真 1.png"));
        QVERIFY(QDir(root).mkdir(QStringLiteral("sub")));
        QVERIFY(QDir(root).mkdir(QStringLiteral("x.jpg")));
        QVERIFY(QDir(root).mkdir(QStringLiteral(".config")));
        QVERIFY(QFile::link(root + QStringLiteral("img10.jpg"), root + QStringLiteral("link.jpg")));
        QVERIFY(QFile::link(root + QStringLiteral("gone.jpg"), root + QStringLiteral("dangling.jpg")));
        QVERIFY(QFile::link(root + QStringLiteral("sub"), root + QStringLiteral("linked")));
        QCOMPARE(::mkfifo(QFile::encodeName(root + QStringLiteral("fifo.jpg")).constData(), 0600), 0);
        const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(root + QStringLiteral("socket.jpg"));
        if (socketPath.size() < qsizetype(sizeof address.sun_path)) {
            std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
            QCOMPARE(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        }
        ::close(sock);

        QCOMPARE(folderlists::listedEntries(dir.path(), EntryKind(kind), patterns), expected);
    }

    void unreadableFoldersListNothing_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty path is not the current folder") << QString();
        QTest::newRow("missing folder") << QStringLiteral("/nonexistent/folder");
        QTest::newRow("a file") << QStringLiteral("/etc/hostname");
    }
    void unreadableFoldersListNothing()
    {
        QFETCH(QString, folder);
        QVERIFY(folderlists::listedEntries(folder, EntryKind::Files).isEmpty());
        QVERIFY(folderlists::listedEntries(folder, EntryKind::Folders).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFolderEntries)
#include "tst_folderentries.moc"
