#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "CodecFixtures.h"
#include "imaging/core/Thumbnails.h"
#include "imaging/widgets/Ik5Thumb.h"

using imaging::Ik5Thumb;

namespace {

// n JPEGs named 1.jpg .. n.jpg; the damaged one (1-based, 0 for none) holds
// text instead.
void makeFolder(const QTemporaryDir &dir, int n, int damaged = 0)
{
    for (int i = 1; i <= n; ++i) {
        QFile file(dir.filePath(QStringLiteral("%1.jpg").arg(i)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(i == damaged ? QByteArray("no picture here") : fixtures::jpegOf(fixtures::smooth(60 + i, 40)));
    }
}

struct Event
{
    QString folder, file;
    int n, count;
};

QList<Event> record(Ik5Thumb &strip, const std::function<void(const Event &)> &also = {})
{
    auto *events = new QList<Event>;
    QObject::connect(&strip, &Ik5Thumb::itemLoaded, &strip,
                     [events, also](const QString &folder, const QString &file, int n, int count) {
                         events->append({folder, file, n, count});
                         if (also)
                             also(events->last());
                     });
    strip.build();
    QList<Event> result = *events;
    delete events;
    QObject::disconnect(&strip, &Ik5Thumb::itemLoaded, &strip, nullptr);
    return result;
}

} // namespace

class TestIk5Thumb : public QObject
{
    Q_OBJECT

    Ik5Thumb *m_strip = nullptr;

private slots:
    void init()
    {
        imaging::ThumbnailCache::instance().clear();
        m_strip = new Ik5Thumb;
        m_strip->resize(501, 89);
    }
    void cleanup() { delete m_strip; }

    void oneEventPerItemInOrderWithTheDamagedOneMarked()
    {
        QTemporaryDir dir;
        makeFolder(dir, 5, 3);
        m_strip->setFolder(dir.path());
        m_strip->prepare();
        const QList<Event> events = record(*m_strip);
        QCOMPARE(events.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(events[i].folder, dir.path());
            QCOMPARE(events[i].file, QStringLiteral("%1.jpg").arg(i + 1));
            QCOMPARE(events[i].n, i + 1);
            QCOMPARE(events[i].count, 5);
            QCOMPARE(m_strip->itemBroken(i), i == 2);
            QCOMPARE(m_strip->itemPicture(i).isNull(), i == 2);
        }
    }

    void noFolderNoEvents_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty text") << QString();
        QTest::newRow("missing folder") << QStringLiteral("/nonexistent/写真");
        QTest::newRow("a file") << QStringLiteral("/etc/hostname");
    }
    void noFolderNoEvents()
    {
        QFETCH(QString, folder);
        m_strip->setFolder(folder);
        m_strip->prepare();
        QCOMPARE(m_strip->itemCount(), 0);
        QVERIFY(record(*m_strip).isEmpty());
    }

    void cancelStopsAtTheNextItemAndARebuildIsComplete()
    {
        QTemporaryDir dir;
        makeFolder(dir, 5);
        m_strip->setFolder(dir.path());
        m_strip->prepare();
        const QList<Event> cut = record(*m_strip, [this](const Event &e) {
            if (e.n == 2)
                m_strip->setCancel(true);
        });
        QCOMPARE(cut.size(), 2);
        QVERIFY(m_strip->itemPicture(4).isNull());
        m_strip->prepare();
        QVERIFY(!m_strip->cancelRequested());
        QCOMPARE(record(*m_strip).size(), 5);
    }

    // A handler that lists another folder and builds again: the running
    // build ends, the new one runs after it, never inside it.
    void aBuildAskedForDuringABuildRunsAfterIt()
    {
        QTemporaryDir first, second;
        makeFolder(first, 4);
        makeFolder(second, 3);
        m_strip->setFolder(first.path());
        m_strip->prepare();
        int depth = 0, deepest = 0;
        bool asked = false;
        const QList<Event> events = record(*m_strip, [&](const Event &) {
            deepest = std::max(deepest, ++depth);
            if (!asked) {
                asked = true;
                m_strip->setFolder(second.path());
                m_strip->prepare();
                m_strip->build();
            }
            --depth;
        });
        QCOMPARE(deepest, 1);
        QCOMPARE(events.size(), 1 + 3);
        QCOMPARE(events.last().folder, second.path());
        QCOMPARE(events.last().count, 3);
        QVERIFY(!m_strip->isBuilding());
    }

    void withoutDecodingOnlyTheEventsCome()
    {
        QTemporaryDir dir;
        makeFolder(dir, 3);
        m_strip->setDecodeThumbnails(false);
        m_strip->setFolder(dir.path());
        m_strip->prepare();
        QCOMPARE(record(*m_strip).size(), 3);
        QVERIFY(m_strip->itemPicture(0).isNull());
        QVERIFY(!m_strip->itemBroken(0));
    }

    void aClickOrEnterChoosesTheItem()
    {
        QTemporaryDir dir;
        makeFolder(dir, 3);
        m_strip->setFolder(dir.path() + u'/');
        m_strip->prepare();
        m_strip->build();
        QSignalSpy chosen(m_strip, &Ik5Thumb::itemChosen);
        QTest::mouseClick(m_strip->viewport(), Qt::LeftButton, {}, m_strip->itemRect(1).center());
        QCOMPARE(chosen.size(), 1);
        // One separator between folder and name, even after a trailing one.
        QCOMPARE(m_strip->chosenPath(), dir.path() + QStringLiteral("/2.jpg"));
        QTest::keyClick(m_strip, Qt::Key_Right);
        QTest::keyClick(m_strip, Qt::Key_Return);
        QCOMPARE(chosen.size(), 2);
        QCOMPARE(m_strip->chosenPath(), dir.path() + QStringLiteral("/3.jpg"));
        QTest::mouseClick(m_strip->viewport(), Qt::LeftButton, {}, QPoint(490, 2));
        QCOMPARE(chosen.size(), 2); // not on a cell
    }
};

QTEST_MAIN(TestIk5Thumb)
#include "tst_ik5thumb.moc"
