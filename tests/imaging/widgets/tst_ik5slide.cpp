#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "CodecFixtures.h"
#include "imaging/core/Thumbnails.h"
#include "imaging/widgets/Ik5Slide.h"

using imaging::Ik5Slide;

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestIk5Slide : public QObject
{
    Q_OBJECT

    Ik5Slide *m_show = nullptr;
    qint64 m_now = 0;

    // Moves the show's clock on and lets it show what is due.
    void at(qint64 ms)
    {
        m_now = ms;
        m_show->tick();
        m_show->waitUntilShown();
    }

    void play(const QString &folder, int seconds, bool repeat)
    {
        m_show->setFolder(folder);
        m_show->setInterval(seconds);
        m_show->setRepeat(repeat);
        m_show->prepare();
        m_show->start();
        m_show->waitUntilShown();
    }

private slots:
    void init()
    {
        imaging::ThumbnailCache::instance().clear();
        m_now = 0;
        m_show = new Ik5Slide;
        m_show->resize(300, 300);
        m_show->setClock([this] { return m_now; });
    }
    void cleanup() { delete m_show; }

    void theInitialIntervalIsThreeSeconds() { QCOMPARE(Ik5Slide().interval(), 3); }

    void playsInOrderAndStopsOnTheLastWithoutRepeat()
    {
        QTemporaryDir dir;
        for (const char *name : {"IMG10.jpg", "IMG2.jpg", "IMG3.jpg"})
            write(dir.filePath(QString::fromLatin1(name)), fixtures::jpegOf(fixtures::smooth(64, 48)));
        QSignalSpy shown(m_show, &Ik5Slide::slideShown);
        play(dir.path(), 2, false);
        QCOMPARE(shown.size(), 1); // the first at once
        QCOMPARE(shown[0][0].toInt(), 1);
        QCOMPARE(shown[0][1].toString(), dir.path());
        QCOMPARE(shown[0][2].toString(), QStringLiteral("IMG2.jpg"));
        at(1999);
        QCOMPARE(shown.size(), 1);
        at(2000);
        at(4000);
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[2][2].toString(), QStringLiteral("IMG10.jpg"));
        at(6000);
        QCOMPARE(shown.size(), 3);
        QVERIFY(!m_show->isPlaying());
        QCOMPARE(m_show->shownSlide(), 2);
    }

    void slidesAreFittedButNeverEnlarged_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("a small picture stays small") << QSize(40, 30) << QSize(40, 30);
        QTest::newRow("a wide photo fits the width") << QSize(1000, 500) << QSize(300, 150);
        QTest::newRow("a tall photo fits the height") << QSize(600, 1200) << QSize(150, 300);
    }
    void slidesAreFittedButNeverEnlarged()
    {
        QFETCH(QSize, image);
        QFETCH(QSize, shown);
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("a.png")), fixtures::qtEncoded(fixtures::smooth(image.width(), image.height()), "PNG"));
        play(dir.path(), 3, false);
        QCOMPARE(m_show->shownPicture().size(), shown);
    }

    void aDamagedSlideShowsACardAndTheShowGoesOn()
    {
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("1.jpg")), fixtures::jpegOf(fixtures::smooth(64, 48)));
        write(dir.filePath(QStringLiteral("2.jpg")), QByteArray("broken"));
        write(dir.filePath(QStringLiteral("3.jpg")), fixtures::jpegOf(fixtures::smooth(64, 48)));
        play(dir.path(), 1, false);
        at(1000);
        QVERIFY(m_show->showingCard());
        QCOMPARE(m_show->shownSlide(), 1);
        at(2000);
        QVERIFY(!m_show->showingCard());
        QCOMPARE(m_show->shownSlide(), 2);
    }

    // Repeating a folder that vanished would show cards for ever: one whole
    // pass of failures ends the show.
    void aRemovedFolderStopsAfterOneFailingPass()
    {
        QTemporaryDir parent;
        const QString folder = parent.filePath(QStringLiteral("写真"));
        QVERIFY(QDir().mkdir(folder));
        for (int i = 1; i <= 3; ++i)
            write(folder + QStringLiteral("/%1.jpg").arg(i), fixtures::jpegOf(fixtures::smooth(64, 48)));
        play(folder, 1, true);
        QVERIFY(QDir(folder).removeRecursively());
        imaging::ThumbnailCache::instance().clear();
        // The slide decoded ahead may still show; then three cards in a row.
        int second = 0;
        while (m_show->isPlaying() && second < 10)
            at(++second * 1000);
        QVERIFY(second <= 4);
        QVERIFY(m_show->showingCard());
        at(20'000);
        QVERIFY(!m_show->isPlaying());
    }

    void withoutAnIntervalOnlyStepsMove()
    {
        QTemporaryDir dir;
        for (int i = 1; i <= 3; ++i)
            write(dir.filePath(QStringLiteral("%1.jpg").arg(i)), fixtures::jpegOf(fixtures::smooth(64, 48)));
        play(dir.path(), 0, false);
        at(100'000);
        QCOMPARE(m_show->shownSlide(), 0);
        m_show->last();
        m_show->waitUntilShown();
        QCOMPARE(m_show->shownSlide(), 2);
        m_show->previous();
        m_show->waitUntilShown();
        QCOMPARE(m_show->shownSlide(), 1);
        m_show->first();
        m_show->waitUntilShown();
        QCOMPARE(m_show->shownSlide(), 0);
        m_show->next();
        m_show->waitUntilShown();
        QCOMPARE(m_show->shownSlide(), 1);
    }

    void endLeavesNothingShown()
    {
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("1.jpg")), fixtures::jpegOf(fixtures::smooth(64, 48)));
        play(dir.path(), 1, true);
        m_show->end();
        QCOMPARE(m_show->shownSlide(), -1);
        QVERIFY(!m_show->isPlaying());
        at(5000);
        QCOMPARE(m_show->shownSlide(), -1);
    }

    void anEmptyOrMissingFolderShowsNothing_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty text") << QString();
        QTest::newRow("missing") << QStringLiteral("/nonexistent/スライド");
    }
    void anEmptyOrMissingFolderShowsNothing()
    {
        QFETCH(QString, folder);
        QSignalSpy shown(m_show, &Ik5Slide::slideShown);
        play(folder, 1, true);
        at(3000);
        QCOMPARE(shown.size(), 0);
        QCOMPARE(m_show->slideCount(), 0);
    }
};

QTEST_MAIN(TestIk5Slide)
#include "tst_ik5slide.moc"
