// The batch search's walk over a folder tree: the window's order, and no
// tree (links back up, bind mounts, folders nobody may open, thousands of
// levels) that stops it, blocks it or makes it endless.

#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QtTest>

#include "FileSystemFixtures.h"
#include "batch/engine/FolderSearch.h"
#include "rules/SearchType.h"

namespace {

struct Report
{
    QString folder;
    QString description;
};

struct Searched
{
    QStringList entries; // relative to the start folder
    QList<Report> reports;
    int foldersListed = 0;
};

Searched search(const QString &root)
{
    Searched searched;
    batch::SearchEvents events;
    events.folderFailed = [&](const QString &folder, const QString &description) {
        searched.reports.append({folder, description});
    };
    events.folderListed = [&] { ++searched.foldersListed; };
    const QString prefix = root + u'/';
    for (const QString &entry : batch::searchFolder(root, events))
        searched.entries.append(entry.startsWith(prefix) ? entry.mid(prefix.size()) : entry);
    return searched;
}

void makeFiles(const QString &root, const QStringList &paths)
{
    for (const QString &path : paths) {
        const QString full = root + u'/' + path;
        if (path.endsWith(u'/'))
            QVERIFY(QDir().mkpath(full));
        else
            QVERIFY(QDir().mkpath(QFileInfo(full).path()) && fixtures::writeBytes(full, "x"));
    }
}

// A bind mount for the life of the object.
class BindMount
{
public:
    BindMount(const QString &from, const QString &onto) : m_onto(onto)
    {
        m_mounted = ::mount(QFile::encodeName(from).constData(), QFile::encodeName(onto).constData(), nullptr,
                            MS_BIND, nullptr) == 0;
    }
    ~BindMount()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_onto).constData(), MNT_DETACH);
    }
    BindMount(const BindMount &) = delete;
    BindMount &operator=(const BindMount &) = delete;
    bool mounted() const { return m_mounted; }

private:
    QString m_onto;
    bool m_mounted = false;
};

bool rename(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Builds and removes a chain of folders root/d/d/... `depth` deep, deeper
// than a path may be long, one level at a time at the top, so no path used
// is long.
bool makeDeepChain(const QString &root, int depth)
{
    const QString top = root + QStringLiteral("/d");
    const QString spare = root + QStringLiteral("/n");
    if (!QDir().mkdir(top))
        return false;
    for (int level = 1; level < depth; ++level)
        if (!QDir().mkdir(spare) || !rename(top, spare + QStringLiteral("/d")) || !rename(spare, top))
            return false;
    return true;
}

void removeDeepChain(const QString &root)
{
    const QString top = root + QStringLiteral("/d");
    const QString spare = root + QStringLiteral("/n");
    while (rename(top + QStringLiteral("/d"), spare) && QDir().rmdir(top) && rename(spare, top)) {
    }
    QDir().rmdir(top);
}

} // namespace

class TestFolderSearch : public QObject
{
    Q_OBJECT

private slots:
    void eachFolderBeforeItsSubfolders()
    {
        QTemporaryDir dir;
        makeFiles(dir.path(), {"b.JPG", "a.jpg", "c.Jpg", "z.jpg", ".hidden.jpg", "sub2/f.jpg", "sub/d.jpg",
                               "sub/deep/e.jpg", "sub/.cache/", "写真 フォルダ/夏.jpg", "empty/"});
        const Searched searched = search(dir.path());
        QCOMPARE(searched.entries, (QStringList{"a.jpg", "b.JPG", "c.Jpg", "empty", "sub", "sub2", "z.jpg",
                                               "写真 フォルダ",
                                               "sub/d.jpg", "sub/deep", "sub/deep/e.jpg",
                                               "sub2/f.jpg",
                                               "写真 フォルダ/夏.jpg"}));
        QCOMPARE(searched.foldersListed, 6); // the hidden one not among them
        QVERIFY(searched.reports.isEmpty());
    }

    // The window's own example: a, b, c and sub/d under JPG(jpg).
    void typeSelectsFromTheWalk()
    {
        QTemporaryDir dir;
        makeFiles(dir.path(), {"a.jpg", "b.JPG", "c.Jpg", "sub/d.jpg"});
        const QString root = dir.path() + u'/';
        QCOMPARE(searchtype::selectedEntries(batch::searchFolder(dir.path()), u"JPG(jpg)"),
                 (QStringList{root + "a.jpg", root + "b.JPG", root + "sub/d.jpg"}));
    }

    void entriesThatCouldBlockAreSkippedUnopened()
    {
        QTemporaryDir dir;
        const QString root = dir.path();
        makeFiles(root, {"a.jpg", "target/t.jpg"});
        // A reader opening any of these would block or read a device.
        QCOMPARE(::mkfifo(QFile::encodeName(root + "/x.jpg").constData(), 0644), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), root + "/device.jpg"));
        QVERIFY(QFile::link(root + "/nowhere.jpg", root + "/dangling.jpg"));
        QVERIFY(QFile::link(root + "/self.jpg", root + "/self.jpg"));
        QVERIFY(QFile::link(root + "/a.jpg", root + "/link to a.jpg"));
        QVERIFY(QFile::link(root + "/target", root + "/linked folder"));
        const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(root + "/socket.jpg");
        qstrncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path);
        QCOMPARE(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);

        const Searched searched = search(root);
        ::close(sock);
        // The link to a folder is listed as the folder would be, not entered.
        QCOMPARE(searched.entries, (QStringList{"a.jpg", "link to a.jpg", "linked folder", "target", "target/t.jpg"}));
        QVERIFY(searched.reports.isEmpty());
    }

    void aLinkBackUpTheTreeIsNotFollowed()
    {
        QTemporaryDir dir;
        makeFiles(dir.path(), {"sub/a.jpg"});
        QVERIFY(QFile::link(dir.path(), dir.path() + "/sub/up"));
        QCOMPARE(search(dir.path()).entries, (QStringList{"sub", "sub/a.jpg", "sub/up"}));
    }

    void aBindMountOfAParentIsEnteredOnce()
    {
        if (!fixtures::runningAsRoot())
            QSKIP("a bind mount needs root");
        QTemporaryDir dir;
        makeFiles(dir.path(), {"a.jpg", "sub/loop/"});
        const BindMount loop(dir.path(), dir.path() + "/sub/loop");
        if (!loop.mounted())
            QSKIP("cannot bind-mount here");
        const Searched searched = search(dir.path());
        QCOMPARE(searched.entries, (QStringList{"a.jpg", "sub", "sub/loop"}));
        QVERIFY(searched.reports.isEmpty());
    }

    void aFolderNobodyMayOpenIsReportedOnce()
    {
        QTemporaryDir dir;
        const QString root = dir.path();
        makeFiles(root, {"a/1.jpg", "locked/inner/2.jpg", "z/3.jpg"});
        for (const QString &folder : {root, root + "/a", root + "/z"})
            QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7755)));
        QVERIFY(QFile::setPermissions(root + "/locked", QFileDevice::Permissions()));

        Searched searched;
        {
            const fixtures::AsUnprivilegedUser user;
            if (fixtures::runningAsRoot() && !user.active())
                QSKIP("cannot drop root's file permissions here");
            searched = search(root);
        }
        QVERIFY(QFile::setPermissions(root + "/locked", QFileDevice::Permissions(0x7700)));
        QCOMPARE(searched.entries, (QStringList{"a", "locked", "z", "a/1.jpg", "z/3.jpg"}));
        QCOMPARE(searched.reports.size(), 1);
        QCOMPARE(searched.reports[0].folder, root + "/locked/");
        QVERIFY2(searched.reports[0].description.contains(u"Permission denied"), qPrintable(searched.reports[0].description));
    }

    void aMissingStartFolderIsReported()
    {
        QTemporaryDir dir;
        const Searched searched = search(dir.path() + "/missing");
        QVERIFY(searched.entries.isEmpty());
        QCOMPARE(searched.reports.size(), 1);
    }

    // Deeper than any path may be long: the walk goes as deep as paths
    // reach, reports the first folder it cannot name, and returns.
    void aTreeThousandsOfLevelsDeep()
    {
        QTemporaryDir dir;
        constexpr int kDepth = 3000;
        QVERIFY(makeDeepChain(dir.path(), kDepth));
        const Searched searched = search(dir.path());
        removeDeepChain(dir.path());

        const int reachable = int((PATH_MAX - 1 - dir.path().size()) / 2);
        QVERIFY2(qAbs(searched.entries.size() - reachable) <= 1, qPrintable(QString::number(searched.entries.size())));
        QVERIFY(searched.entries.last().endsWith(u"/d/d"));
        QCOMPARE(searched.reports.size(), 1);
        QVERIFY2(searched.reports[0].description.contains(u"too long"), qPrintable(searched.reports[0].description.right(80)));
    }
};

QTEST_GUILESS_MAIN(TestFolderSearch)
#include "tst_foldersearch.moc"
