#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "imaging/core/ImageFolder.h"

class TestImageFolder : public QObject
{
    Q_OBJECT

private slots:
    // A folder holding every kind of entry the strip and the slideshow meet.
    void listsImageFilesOnly()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString root = dir.path() + u'/';
        const QStringList files{"IMG10.JPG", "img2.jpg", "c.JPEG", "d.jpe", "e.TIF", "f.tiff", "g.pcx",
                                "h.fpx", "i.Png", "j.bmp", "notes.txt", "k.gif", ".hidden.jpg",
                                "写真 夏.jpg", "noextension"};
        for (const QString &name : files) {
            QFile file(root + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(root).mkdir(QStringLiteral("folder.jpg")));
        QVERIFY(QFile::link(root + QStringLiteral("j.bmp"), root + QStringLiteral("linked.bmp")));
        QVERIFY(QFile::link(root + QStringLiteral("missing.jpg"), root + QStringLiteral("dangling.jpg")));
        QCOMPARE(::mkfifo(QFile::encodeName(root + QStringLiteral("fifo.jpg")).constData(), 0600), 0);

        const QStringList expected{"c.JPEG", "d.jpe", "e.TIF", "f.tiff", "g.pcx", "h.fpx", "i.Png",
                                   "img2.jpg", "IMG10.JPG", "j.bmp", "linked.bmp", "写真 夏.jpg"};
        QCOMPARE(imaging::imageFilesIn(dir.path()), expected);
        // A trailing separator names the same folder.
        QCOMPARE(imaging::imageFilesIn(root), expected);
    }

    void noFolderNoImages_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty text is not the current folder") << QString();
        QTest::newRow("missing folder") << QStringLiteral("/nonexistent/写真");
        QTest::newRow("a file, not a folder") << QStringLiteral("/etc/hostname");
    }
    void noFolderNoImages()
    {
        QFETCH(QString, folder);
        QVERIFY(imaging::imageFilesIn(folder).isEmpty());
    }

};

QTEST_GUILESS_MAIN(TestImageFolder)
#include "tst_imagefolder.moc"
