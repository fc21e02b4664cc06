// The save dialog's path and format arithmetic, and the folder and drive
// rules the folder lists share, without any window.

#include <QtTest>

#include "base/Error.h"
#include "platform/core/FolderPaths.h"
#include "rules/SavePath.h"
#include "platform/core/Volumes.h"

using savepath::Format;
using savepath::Quality;

Q_DECLARE_METATYPE(savepath::Format)
Q_DECLARE_METATYPE(savepath::Quality)

class TestSavePath : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void touch(const QString &relative)
    {
        QFile file(m_dir.filePath(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // plain files and folders that differ from the names searched only in case
        QDir(m_dir.path()).mkpath(QStringLiteral("with files/newfolder"));
        QDir(m_dir.path()).mkpath(QStringLiteral("no files/写真 2024"));
        touch(QStringLiteral("with files/Photo.JPG"));
        touch(QStringLiteral("with files/.hidden"));
    }

    void savePath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Format>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("BMP replaces the extension") << "/img" << "photo.jpg" << Format::Bmp << "/img/photo.bmp";
        QTest::newRow("PNG") << "/img" << "photo.jpg" << Format::Png << "/img/photo.png";
        QTest::newRow("TIFF is .tif") << "/img" << "photo.jpg" << Format::Tiff << "/img/photo.tif";
        QTest::newRow("progressive JPEG is .jpg") << "/img" << "a.bmp" << Format::ProgressiveJpeg << "/img/a.jpg";
        QTest::newRow("several dots: cut at the first") << "/img" << "my.photo.jpg" << Format::Tiff << "/img/my.tif";
        QTest::newRow("no dot: the whole name") << "/img" << "scan01" << Format::Jpeg << "/img/scan01.jpg";
        QTest::newRow("empty name: only the extension") << "/img" << "" << Format::Jpeg << "/img/.jpg";
        QTest::newRow("name starting with a dot") << "/img" << ".profile" << Format::Png << "/img/.png";
        QTest::newRow("root folder: no second separator") << "/" << "photo.jpg" << Format::Jpeg << "/photo.jpg";
        QTest::newRow("folder with trailing separator") << "/img/" << "photo.jpg" << Format::Bmp << "/img/photo.bmp";
        QTest::newRow("spaces and Japanese") << "/写真 フォルダ" << "夏 休み.1.png" << Format::Jpeg
                                             << "/写真 フォルダ/夏 休み.jpg";
    }
    void savePath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(Format, format);
        QFETCH(QString, expected);
        QCOMPARE(savepath::savePath(folder, name, format), QDir::toNativeSeparators(expected));
    }

    void formatTable_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("takesQuality");
        QTest::newRow("BMP") << Format::Bmp << ".bmp" << 8 << false;
        QTest::newRow("TIFF") << Format::Tiff << ".tif" << 13 << false;
        QTest::newRow("PNG") << Format::Png << ".png" << 20 << false;
        QTest::newRow("progressive JPEG") << Format::ProgressiveJpeg << ".jpg" << 11 << true;
        QTest::newRow("JPEG") << Format::Jpeg << ".jpg" << 10 << true;
    }
    void formatTable()
    {
        QFETCH(Format, format);
        QFETCH(QString, extension);
        QFETCH(int, operation);
        QFETCH(bool, takesQuality);
        const savepath::FormatEntry entry = savepath::formatEntry(format);
        QCOMPARE(entry.extension.toString(), extension);
        QCOMPARE(entry.operation, operation);
        QCOMPARE(entry.takesQuality, takesQuality);
    }

    // The buttons are tested in a fixed order; plain JPEG is what is left.
    void chosenFormat_data()
    {
        QTest::addColumn<bool>("bmp");
        QTest::addColumn<bool>("tiff");
        QTest::addColumn<bool>("png");
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<Format>("expected");
        QTest::newRow("BMP") << true << false << false << false << Format::Bmp;
        QTest::newRow("BMP wins over the rest") << true << true << true << true << Format::Bmp;
        QTest::newRow("TIFF before PNG") << false << true << true << false << Format::Tiff;
        QTest::newRow("PNG") << false << false << true << false << Format::Png;
        QTest::newRow("progressive") << false << false << false << true << Format::ProgressiveJpeg;
        QTest::newRow("none selected is JPEG") << false << false << false << false << Format::Jpeg;
    }
    void chosenFormat()
    {
        QFETCH(bool, bmp);
        QFETCH(bool, tiff);
        QFETCH(bool, png);
        QFETCH(bool, progressive);
        QFETCH(Format, expected);
        QCOMPARE(savepath::chosenFormat(bmp, tiff, png, progressive), expected);
    }

    void jpegQuality_data()
    {
        QTest::addColumn<Quality>("quality");
        QTest::addColumn<int>("bar");
        QTest::addColumn<int>("expected");
        QTest::newRow("40 ignores the bar") << Quality::Q40 << 75 << 40;
        QTest::newRow("60") << Quality::Q60 << 75 << 60;
        QTest::newRow("80") << Quality::Q80 << 75 << 80;
        QTest::newRow("custom, bar untouched") << Quality::Custom << 50 << 50;
        QTest::newRow("custom, bar at 75") << Quality::Custom << 75 << 75;
        QTest::newRow("custom, bar at its minimum") << Quality::Custom << 1 << 1;
        QTest::newRow("custom, bar at its maximum") << Quality::Custom << 100 << 100;
    }
    void jpegQuality()
    {
        QFETCH(Quality, quality);
        QFETCH(int, bar);
        QFETCH(int, expected);
        QCOMPARE(savepath::jpegQuality(quality, bar), expected);
    }

    void joinFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("separator added") << "/a/b" << "New" << "/a/b/New";
        QTest::newRow("root keeps one separator") << "/" << "New" << "/New";
        QTest::newRow("trailing separator kept single") << "/a/" << "New" << "/a/New";
        QTest::newRow("empty name ends in the separator") << "/a" << "" << "/a/";
        QTest::newRow("empty folder box") << "" << "New" << "/New";
    }
    void joinFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(folderlists::joinFolder(folder, name), QDir::toNativeSeparators(expected));
    }

    // What a directory search for folder + name finds (relative to the fixture).
    void firstMatch_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("foldersToo");
        QTest::addColumn<QString>("expected");
        QTest::newRow("folder, other case, files only") << "with files/NewFolder" << false << "";
        QTest::newRow("folder, other case, folders too") << "with files/NewFolder" << true << "newfolder";
        QTest::newRow("file, other case") << "with files/photo.jpg" << false << "Photo.JPG";
        QTest::newRow("file found with folders too") << "with files/PHOTO.jpg" << true << "Photo.JPG";
        QTest::newRow("hidden file counts") << "with files/.HIDDEN" << false << ".hidden";
        QTest::newRow("nothing of that name") << "with files/other" << true << "";
        QTest::newRow("folder itself: first plain file, not hidden") << "with files/" << false << "Photo.JPG";
        QTest::newRow("folder itself without files") << "no files/" << false << "";
        QTest::newRow("folder itself, folders too") << "no files/" << true << ".";
        QTest::newRow("parent entry") << "no files/.." << true << "..";
        QTest::newRow("Japanese folder with a space") << "no files/写真 2024" << true << "写真 2024";
        QTest::newRow("missing folder") << "gone/x" << true << "";
    }
    void firstMatch()
    {
        QFETCH(QString, path);
        QFETCH(bool, foldersToo);
        QFETCH(QString, expected);
        QCOMPARE(folderlists::firstMatch(m_dir.filePath(path), foldersToo), expected);
    }

    void openableFolder()
    {
        const QString folder = m_dir.filePath(QStringLiteral("no files/写真 2024"));
        QCOMPARE(folderlists::openableFolder(folder + QStringLiteral("/./")), QDir::toNativeSeparators(folder));

        const struct
        {
            QString path;
            imaging::Error::Kind kind;
        } failures[] = {
            {m_dir.filePath(QStringLiteral("gone")), imaging::Error::Kind::NotFound},
            {m_dir.filePath(QStringLiteral("with files/Photo.JPG")), imaging::Error::Kind::NotRegularFile},
            {QString(), imaging::Error::Kind::NotFound},
            {m_dir.path() + QChar(u'\0') + QStringLiteral("x"), imaging::Error::Kind::InvalidArgument},
        };
        for (const auto &failure : failures) {
            try {
                (void)folderlists::openableFolder(failure.path);
                QFAIL(qPrintable(QStringLiteral("opened: ") + failure.path));
            } catch (const imaging::Error &error) {
                QCOMPARE(error.kind(), failure.kind);
                QVERIFY(error.description().contains(QStringLiteral("フォルダーを開けません")));
            }
        }
    }

    void createFolderNamesTheReason()
    {
        const QString made = m_dir.filePath(QStringLiteral("made 新規"));
        folderlists::createFolder(made);
        QVERIFY(QFileInfo(made).isDir());
        for (const QString &path : {made, m_dir.filePath(QStringLiteral("gone/child"))}) {
            try {
                folderlists::createFolder(path);
                QFAIL(qPrintable(QStringLiteral("created: ") + path));
            } catch (const imaging::Error &error) {
                QVERIFY(error.description().contains(QDir::toNativeSeparators(path)));
            }
        }
    }

    void isUserVolume_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("expected");
        QTest::newRow("root on a disk") << "/" << QByteArray("/dev/sda2") << QByteArray("ext4") << true;
        QTest::newRow("root in a container") << "/" << QByteArray("overlay") << QByteArray("overlay") << true;
        QTest::newRow("separate home") << "/home" << QByteArray("/dev/sda3") << QByteArray("ext4") << true;
        QTest::newRow("USB stick") << "/media/ken/USB" << QByteArray("/dev/sdb1") << QByteArray("vfat") << true;
        QTest::newRow("disk below /run/media") << "/run/media/ken/DISK" << QByteArray("/dev/sdc1") << QByteArray("exfat") << true;
        QTest::newRow("NFS share") << "/mnt/photos" << QByteArray("nas:/photos") << QByteArray("nfs4") << true;
        QTest::newRow("SMB share") << "/mnt/share" << QByteArray("//nas/share") << QByteArray("cifs") << true;
        QTest::newRow("file manager's network folders") << "/run/user/1000/gvfs" << QByteArray("gvfsd-fuse")
                                                         << QByteArray("fuse.gvfsd-fuse") << true;
        QTest::newRow("sshfs") << "/home/ken/remote" << QByteArray("ken@host:") << QByteArray("fuse.sshfs") << true;
        QTest::newRow("proc") << "/proc" << QByteArray("proc") << QByteArray("proc") << false;
        QTest::newRow("cgroup") << "/sys/fs/cgroup" << QByteArray("cgroup2") << QByteArray("cgroup2") << false;
        QTest::newRow("tmpfs /run") << "/run" << QByteArray("tmpfs") << QByteArray("tmpfs") << false;
        QTest::newRow("tmpfs anywhere") << "/mnt/ram" << QByteArray("tmpfs") << QByteArray("tmpfs") << false;
        QTest::newRow("snap image on a loop device") << "/snap/core/1" << QByteArray("/dev/loop3")
                                                     << QByteArray("squashfs") << false;
        QTest::newRow("boot partition under /run is the system's") << "/run/initramfs" << QByteArray("/dev/sda1")
                                                                   << QByteArray("ext4") << false;
        QTest::newRow("document portal") << "/run/user/1000/doc" << QByteArray("portal")
                                         << QByteArray("fuse.portal") << false;
    }
    void isUserVolume()
    {
        QFETCH(QString, root);
        QFETCH(QByteArray, device);
        QFETCH(QByteArray, type);
        QFETCH(bool, expected);
        QCOMPARE(folderlists::isUserVolume(root, device, type), expected);
    }

    void driveOf_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("on the root") << "/etc/x" << "/";
        QTest::newRow("the root itself") << "/" << "/";
        QTest::newRow("deepest mount wins") << "/media/usb/photos" << "/media/usb";
        QTest::newRow("a mount point itself") << "/media/usb" << "/media/usb";
        QTest::newRow("a name that only starts like a mount") << "/media/usb2/a" << "/";
    }
    void driveOf()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        const QList<folderlists::Volume> volumes{{QStringLiteral("/"), QString()},
                                                 {QStringLiteral("/media/usb"), QStringLiteral("USB")}};
        QCOMPARE(folderlists::driveOf(volumes, path), expected);
    }

    void drivesPutTheRootFirstAndEachOnce()
    {
        const auto previous = folderlists::setVolumeSource([] {
            return QList<folderlists::Volume>{{QStringLiteral("/mnt/b"), QString()},
                                              {QStringLiteral("/"), QString()},
                                              {QStringLiteral("/mnt/a"), QStringLiteral("A")},
                                              {QStringLiteral("/mnt/b"), QString()}};
        });
        const QList<folderlists::Volume> drives = folderlists::drives();
        folderlists::setVolumeSource(previous);
        const QList<folderlists::Volume> expected{{QStringLiteral("/"), QString()},
                                                  {QStringLiteral("/mnt/a"), QStringLiteral("A")},
                                                  {QStringLiteral("/mnt/b"), QString()}};
        QCOMPARE(drives, expected);
    }
};

QTEST_MAIN(TestSavePath)
#include "tst_savepath.moc"
