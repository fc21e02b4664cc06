// The shared drive, folder and file lists and what the windows do with them:
// lines and indices, Change and Click, the "Drive Error" message, the
// network-drive button and both kinds of folder creation.

#include <QtTest>

#include <QLineEdit>

#include "base/Error.h"
#include "platform/FolderActions.h"
#include "platform/FolderLists.h"
#include "platform/core/Volumes.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/SeamOverrides.h"

using namespace folderlists;
using testsupport::ScriptedMessageBoxes;
namespace msgbox = platform::msgbox;

namespace {

const QString kNameInUse = QStringLiteral("同じ名前のファイルかフォルダーが存在します");
const QString kEnterName = QStringLiteral("新しいディレクトリー名を入力して下さい");

// A fixed list of drives for as long as it lives.
class FixedDrives
{
public:
    explicit FixedDrives(QList<Volume> volumes)
        : m_volumes(std::move(volumes))
        , m_seam([this] { return m_volumes; })
    {
    }
    void add(const Volume &volume) { m_volumes.append(volume); }

private:
    QList<Volume> m_volumes;
    testsupport::SeamOverride<VolumeSource, &setVolumeSource> m_seam;
};

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The window a folder creation works in: a folder box, a name box and the lists.
struct CreationWindow
{
    QWidget window;
    QLineEdit *folderBox = new QLineEdit(&window);
    QLineEdit *nameBox = new QLineEdit(&window);
    DriveList *drives = new DriveList(&window);
    DirList *folders = new DirList(&window);
    FileList *files = new FileList(&window);

    CreationWindow(const QString &folder, const QString &name)
    {
        folderBox->setText(folder);
        nameBox->setText(name);
        window.show();
        window.activateWindow();
        folderBox->setFocus();
    }
};

} // namespace

Q_DECLARE_METATYPE(platform::NetworkDriveResult)

class TestFolderLists : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_startFolder;
    QString m_photos; // "写真 フォルダ": subfolders "b" and "夏 休み", a hidden one, files

    QString path(const QString &relative) const { return native(m_dir.filePath(relative)); }

    void touch(const QString &relative)
    {
        QFile file(m_dir.filePath(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QStringList linesOf(const FileList &list)
    {
        QStringList lines;
        for (int i = 0; i < list.listCount(); ++i)
            lines << list.list(i);
        return lines;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir root(m_dir.path());
        for (const char *folder : {"写真 フォルダ/b", "写真 フォルダ/夏 休み", "写真 フォルダ/.cache", "empty",
                                   "with files/newfolder"})
            QVERIFY(root.mkpath(QString::fromUtf8(folder)));
        for (const char *file : {"写真 フォルダ/a.JPG", "写真 フォルダ/b.jpg", "写真 フォルダ/c.png",
                                 "写真 フォルダ/d.tif", "写真 フォルダ/noext", "写真 フォルダ/.hidden.jpg",
                                 "写真 フォルダ/notes.txt", "with files/Photo.JPG"})
            touch(QString::fromUtf8(file));
        m_photos = path(QStringLiteral("写真 フォルダ"));
        m_startFolder = QDir::currentPath();
    }

    void init() { QVERIFY(QDir::setCurrent(m_photos)); }
    void cleanup() { QDir::setCurrent(m_startFolder); }

    void folderListShowsTheOpenFolderItsParentsAndSubfolders()
    {
        DirList folders;
        QCOMPARE(folders.path(), m_photos);
        QCOMPARE(folders.listIndex(), -1);
        QCOMPARE(folders.list(-1), m_photos);
        QCOMPARE(folders.list(-2), native(m_dir.path()));
        const int depth = static_cast<int>(QDir::fromNativeSeparators(m_photos).count(u'/'));
        QCOMPARE(folders.list(-1 - depth), native(QDir::rootPath()));
        QCOMPARE(folders.list(-2 - depth), QString());
        // hidden folders stay out
        QCOMPARE(folders.listCount(), 2);
        QCOMPARE(folders.list(0), path(QStringLiteral("写真 フォルダ/b")));
        QCOMPARE(folders.list(1), path(QStringLiteral("写真 フォルダ/夏 休み")));
        QCOMPARE(folders.list(2), QString());
    }

    void openingAndHighlightingFireChangeAndClick()
    {
        DirList folders;
        folders.resize(300, 300);
        folders.show();
        QSignalSpy changes(&folders, &DirList::changed);
        QSignalSpy clicks(&folders, &DirList::clicked);

        const QString summer = path(QStringLiteral("写真 フォルダ/夏 休み"));
        folders.setPath(summer);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(clicks.size(), 0);
        QCOMPARE(folders.path(), summer);
        QCOMPARE(folders.list(folders.listIndex()), summer);

        folders.setPath(summer + QStringLiteral("/"));
        QCOMPARE(changes.size(), 1); // the same folder again is no change

        folders.setListIndex(-2);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(folders.list(folders.listIndex()), m_photos);
        QCOMPARE(folders.path(), summer); // highlighted, not opened

        // The mouse: a click on the highlighted line again, then a double click.
        const QRect line = folders.visualItemRect(folders.item(folders.currentRow()));
        QTest::mouseClick(folders.viewport(), Qt::LeftButton, {}, line.center());
        QCOMPARE(clicks.size(), 2);
        QCOMPARE(changes.size(), 1);
        QTest::mouseDClick(folders.viewport(), Qt::LeftButton, {}, line.center());
        QCOMPARE(changes.size(), 2);
        QCOMPARE(folders.path(), m_photos);
        QCOMPARE(folders.listIndex(), -1);
    }

    void aFolderThatCannotBeOpenedChangesNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("kind");
        QTest::newRow("missing") << "gone" << int(imaging::Error::Kind::NotFound);
        QTest::newRow("a file") << "写真 フォルダ/a.JPG" << int(imaging::Error::Kind::NotRegularFile);
    }
    void aFolderThatCannotBeOpenedChangesNothing()
    {
        QFETCH(QString, target);
        QFETCH(int, kind);
        DirList folders;
        FileList files;
        QSignalSpy changes(&folders, &DirList::changed);
        QSignalSpy fileChanges(&files, &FileList::pathChanged);
        for (const auto &open : std::initializer_list<std::function<void()>>{
                 [&] { folders.setPath(path(target)); }, [&] { files.setPath(path(target)); }}) {
            try {
                open();
                QFAIL("opened");
            } catch (const imaging::Error &error) {
                QCOMPARE(int(error.kind()), kind);
                QVERIFY(error.description().contains(path(target)));
            }
        }
        QCOMPARE(folders.path(), m_photos);
        QCOMPARE(folders.listCount(), 2);
        QCOMPARE(files.path(), m_photos);
        QCOMPARE(changes.size() + fileChanges.size(), 0);
    }

    // A line whose folder vanished since the list was read: one message,
    // and the list stays where it was.
    void openingAVanishedLineIsReported()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("写真 フォルダ/soon gone")));
        DirList folders;
        folders.resize(300, 300);
        folders.show();
        QVERIFY(QDir(m_dir.filePath(QStringLiteral("写真 フォルダ/soon gone"))).removeRecursively());
        folders.setListIndex(1);
        ScriptedMessageBoxes boxes;
        boxes.expect(msgbox::Ok);
        QTest::keyClick(&folders, Qt::Key_Return);
        QVERIFY(boxes.verify());
        QVERIFY(boxes.boxes().first().text.contains(QStringLiteral("soon gone")));
        QCOMPARE(folders.path(), m_photos);
    }

    void refreshListsANewSubfolderAndKeepsTheHighlight()
    {
        DirList folders;
        folders.setListIndex(1);
        QVERIFY(QDir(m_photos).mkdir(QStringLiteral("a new one")));
        folders.refresh();
        QCOMPARE(folders.listCount(), 3);
        QCOMPARE(folders.list(0), path(QStringLiteral("写真 フォルダ/a new one")));
        QCOMPARE(folders.list(folders.listIndex()), path(QStringLiteral("写真 フォルダ/夏 休み")));
        QCOMPARE(folders.path(), m_photos);
        QVERIFY(QDir(m_photos).rmdir(QStringLiteral("a new one")));
    }

    void fileListPatterns_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("*.* is every plain file") << "*.*"
                                                 << QStringList{"a.JPG", "b.jpg", "c.png", "d.tif", "noext", "notes.txt"};
        QTest::newRow("several patterns, case ignored") << "*.jpg;*.bmp;*.tif;*.png"
                                                        << QStringList{"a.JPG", "b.jpg", "c.png", "d.tif"};
        QTest::newRow("blanks around the parts") << " *.png ; *.txt " << QStringList{"c.png", "notes.txt"};
        QTest::newRow("nothing matches") << "*.pcx" << QStringList{};
    }
    void fileListPatterns()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, expected);
        FileList files;
        QSignalSpy patternChanges(&files, &FileList::patternChanged);
        files.setPattern(pattern);
        QCOMPARE(linesOf(files), expected);
        QCOMPARE(patternChanges.size(), pattern == u"*.*" ? 0 : 1);
    }

    void fileListFollowsItsPathAndSelections()
    {
        FileList files;
        QSignalSpy changes(&files, &FileList::pathChanged);
        files.setPath(path(QStringLiteral("with files")));
        QCOMPARE(changes.size(), 1);
        QCOMPARE(linesOf(files), QStringList{QStringLiteral("Photo.JPG")});
        touch(QStringLiteral("with files/later.png"));
        files.setPath(path(QStringLiteral("with files")));
        QCOMPARE(changes.size(), 1);
        QCOMPARE(files.listCount(), 2); // read again all the same
        QVERIFY(QFile::remove(m_dir.filePath(QStringLiteral("with files/later.png"))));

        files.setPath(m_photos);
        files.setMultiSelect(true);
        files.setSelected(0, true);
        files.setSelected(2, true);
        QVERIFY(files.isSelected(0) && !files.isSelected(1) && files.isSelected(2));
        QVERIFY(!files.isSelected(99));
        files.setListIndex(1);
        QCOMPARE(files.fileName(), QStringLiteral("b.jpg"));
    }

    // Choosing a drive opens the current folder when it lies on that drive,
    // else the drive's root; a drive that cannot be opened is a "Drive Error".
    void choosingADrive()
    {
        QTemporaryDir other;
        FixedDrives fixed({{QStringLiteral("/"), QString()},
                           {native(m_dir.path()), QStringLiteral("写真 USB")},
                           {native(other.path()), QString()}});
        DriveList drives;
        DirList folders;
        QCOMPARE(drives.drive(), native(m_dir.path())); // the drive of the current folder
        QCOMPARE(drives.currentText(), native(m_dir.path()) + QStringLiteral(" [写真 USB]"));
        QCOMPARE(drives.listCount(), 3);

        ScriptedMessageBoxes noBoxes;
        QObject::connect(&drives, &DriveList::changed, &folders, [&] { openChosenDrive(&drives, &folders); });
        drives.setListIndex(drives.findData(native(other.path())));
        QCOMPARE(folders.path(), native(other.path())); // its root
        drives.setListIndex(drives.findData(native(m_dir.path())));
        QCOMPARE(folders.path(), m_photos); // the current folder lies on that drive
    }

    void aDriveThatCannotBeOpenedIsADriveError()
    {
        QTemporaryDir other;
        const QString gone = native(other.path() + QStringLiteral("/gone"));
        FixedDrives fixed({{QStringLiteral("/"), QString()}, {gone, QStringLiteral("DVD")}});
        DriveList drives;
        DirList folders;
        FileList files;
        QObject::connect(&drives, &DriveList::changed, &folders, [&] { openChosenDrive(&drives, &folders); });
        ScriptedMessageBoxes boxes;
        boxes.expect(msgbox::Ok);
        drives.setListIndex(drives.findData(gone));
        QVERIFY(boxes.verify());
        const ScriptedMessageBoxes::Box box = boxes.boxes().first();
        QCOMPARE(box.title, QStringLiteral("Drive Error"));
        QCOMPARE(box.style, int(msgbox::OkOnly));
        QVERIFY(box.text.contains(gone));
        QCOMPARE(folders.path(), m_photos);
        QCOMPARE(files.path(), m_photos);
        QCOMPARE(drives.drive(), gone); // not set back
    }

    void networkButton_data()
    {
        QTest::addColumn<platform::NetworkDriveResult>("result");
        QTest::addColumn<bool>("explained");
        QTest::newRow("no such dialog here: explained") << platform::NetworkDriveResult::NotAvailable << true;
        QTest::newRow("connected") << platform::NetworkDriveResult::Connected << false;
        QTest::newRow("cancelled") << platform::NetworkDriveResult::Cancelled << false;
    }
    void networkButton()
    {
        QFETCH(platform::NetworkDriveResult, result);
        QFETCH(bool, explained);
        FixedDrives fixed({{QStringLiteral("/"), QString()}});
        DriveList drives;
        testsupport::NetworkDriveOverride dialog(result);
        ScriptedMessageBoxes boxes;
        if (explained)
            boxes.expect(msgbox::Ok);
        fixed.add({QStringLiteral("/mnt/nas"), QStringLiteral("NAS")}); // connected meanwhile
        QSignalSpy changes(&drives, &DriveList::changed);
        QWidget owner;
        connectNetworkDrive(&owner, &drives);
        QCOMPARE(dialog.requests(), 1);
        QVERIFY(boxes.verify());
        if (explained) {
            const ScriptedMessageBoxes::Box box = boxes.boxes().first();
            QCOMPARE(box.style, int(msgbox::OkOnly | msgbox::Information));
            QVERIFY(box.text.contains(QStringLiteral("ドライブの一覧")));
        }
        QCOMPARE(drives.listCount(), 2); // read again in every case
        QCOMPARE(drives.drive(), QStringLiteral("/"));
        QCOMPARE(changes.size(), 0);
    }

    void createFolderGuarded_data()
    {
        QTest::addColumn<QString>("folder"); // relative to the fixture
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("messages"); // title|text
        QTest::addColumn<bool>("created");
        QTest::newRow("folder of that name in another case")
            << "with files" << "NewFolder" << QStringList{"Caution|" + kNameInUse} << false;
        QTest::newRow("file of that name in another case")
            << "with files" << "PHOTO.jpg" << QStringList{"Caution|" + kNameInUse} << false;
        QTest::newRow("empty name where plain files are")
            << "with files" << "" << QStringList{"Caution|" + kEnterName} << false;
        QTest::newRow("empty name where no plain file is: the empty names match")
            << "empty" << "" << QStringList{"Caution|" + kNameInUse} << false;
        QTest::newRow("created") << "empty" << "新しい フォルダ" << QStringList{} << true;
        QTest::newRow("folder box ending in a separator") << "empty/" << "Next" << QStringList{} << true;
        QTest::newRow("parent missing: creating and entering fail")
            << "gone" << "x" << QStringList{"Error|", "Error|"} << false;
    }
    void createFolderGuarded()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QStringList, messages);
        QFETCH(bool, created);
        const QString folderText = native(m_dir.path() + u'/' + folder);
        const QString newPath = native(m_dir.path() + u'/' + QString(folder).remove(u'/') + u'/' + name);
        CreationWindow window(folderText, name);
        QVERIFY(QTest::qWaitForWindowActive(&window.window));
        ScriptedMessageBoxes boxes;
        for (const QString &message : messages)
            boxes.expect(msgbox::Ok, message.section(u'|', 1).isEmpty() ? QString() : message.section(u'|', 1));

        folderlists::createFolderGuarded(window.folderBox, window.nameBox, {window.drives, window.folders, window.files});

        QVERIFY(boxes.verify());
        for (qsizetype i = 0; i < messages.size(); ++i) {
            QCOMPARE(boxes.boxes()[i].title, messages[i].section(u'|', 0, 0));
            QCOMPARE(boxes.boxes()[i].style, int(msgbox::OkOnly));
        }
        QCOMPARE(window.nameBox->text(), QString());
        QCOMPARE(QFileInfo(newPath).isDir() && !name.isEmpty(), created);
        const bool refused = !messages.isEmpty() && messages.first().startsWith(u"Caution");
        if (refused) {
            QCOMPARE(window.folderBox->text(), folderText);
            QCOMPARE(QApplication::focusWidget(), window.nameBox);
            QCOMPARE(native(QDir::currentPath()), m_photos);
        } else {
            QCOMPARE(window.folderBox->text(), newPath);
        }
        if (created) {
            QCOMPARE(native(QDir::currentPath()), newPath);
            QCOMPARE(window.folders->path(), m_photos); // the list does not move
            QVERIFY(QDir(newPath).removeRecursively());
        }
    }

    // A created folder in the folder the list shows appears among its subfolders.
    void createdFolderIsListed()
    {
        CreationWindow window(m_photos, QStringLiteral("c"));
        folderlists::createFolderGuarded(window.folderBox, window.nameBox, {window.drives, window.folders, window.files});
        QCOMPARE(window.folders->listCount(), 3);
        QCOMPARE(window.folders->list(1), path(QStringLiteral("写真 フォルダ/c")));
        QVERIFY(QDir(m_photos).rmdir(QStringLiteral("c")));
    }

    void createFolderForSaveDialog_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("messages"); // title|text; "" title is the application's
        QTest::addColumn<QString>("target");       // the folder box afterwards, relative
        QTest::addColumn<bool>("entered");
        const QString critical = QStringLiteral("!");
        QTest::newRow("created and entered") << "empty" << "保存先 1" << QStringList{} << "empty/保存先 1" << true;
        QTest::newRow("existing folder in another case becomes the target")
            << "with files" << "NewFolder" << QStringList{critical + kNameInUse} << "with files/newfolder" << true;
        QTest::newRow("existing file: entering it fails")
            << "with files" << "photo.jpg" << QStringList{critical + kNameInUse, "Error|"} << "with files/Photo.JPG"
            << false;
        QTest::newRow("empty name: the folder itself with a separator")
            << "with files" << "" << QStringList{critical + kEnterName} << "with files/" << true;
        QTest::newRow("parent missing") << "gone" << "x" << QStringList{"Error|", "Error|"} << "gone/x" << false;
    }
    void createFolderForSaveDialog()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QStringList, messages);
        QFETCH(QString, target);
        QFETCH(bool, entered);
        CreationWindow window(native(m_dir.path() + u'/' + folder), name);
        ScriptedMessageBoxes boxes;
        for (const QString &message : messages)
            boxes.expect(msgbox::Ok, message.startsWith(u'!') ? message.mid(1) : QString());

        folderlists::createFolderForSaveDialog(window.folderBox, window.nameBox);

        QVERIFY(boxes.verify());
        for (qsizetype i = 0; i < messages.size(); ++i) {
            const bool isCritical = messages[i].startsWith(u'!');
            QCOMPARE(boxes.boxes()[i].style, int(isCritical ? msgbox::OkOnly | msgbox::Critical : msgbox::OkOnly));
            QCOMPARE(boxes.boxes()[i].title, isCritical ? platform::applicationTitle() : QStringLiteral("Error"));
        }
        QCOMPARE(window.nameBox->text(), QString());
        QCOMPARE(window.folderBox->text(), path(target));
        const QString current = native(QDir::currentPath());
        QCOMPARE(QDir(current) == QDir(path(target)), entered);
        if (messages.isEmpty())
            QVERIFY(QDir(path(target)).removeRecursively());
    }
};

QTEST_MAIN(TestFolderLists)
#include "tst_folderlists.moc"
