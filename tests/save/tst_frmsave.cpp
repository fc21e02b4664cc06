// The save dialog and the main window's save button: the request the dialog
// leaves, the files written through it, cancelling, and failed writes.

#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

#include "app/Form2.h"
#include "app/Module1.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/ImageStore.h"
#include "platform/core/Volumes.h"
#include "save/frmSave.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/SeamOverrides.h"
#include "support/core/TmpfsMount.h"
#include "viewer/frmviewer.h"

using testsupport::ScriptedMessageBoxes;
namespace msgbox = platform::msgbox;

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Everything in a folder, hidden files (a writer's temporary file) included.
QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.flush();
}

// The luminance DC step of a JPEG's first quantisation table: 16 at quality
// 50, scaled as the encoder scales it for other qualities.
int luminanceDcStep(const QByteArray &jpeg)
{
    const qsizetype table = jpeg.indexOf("\xFF\xDB");
    return table < 0 || table + 5 >= jpeg.size() ? -1 : static_cast<uchar>(jpeg[table + 5]);
}

int expectedDcStep(int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    return std::clamp((16 * scale + 50) / 100, 1, 255);
}

} // namespace

class TestSaveDialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_folder; // "保存 先", the current folder of every test
    QString m_startFolder;

    frmviewer *viewer() { return forms::get<frmviewer>(); }

    // A working image with a pattern and a resolution that differs by axis,
    // as if photo.jpg had been opened.
    imaging::Handle showImage(QSize size = {40, 30})
    {
        imaging::Image image;
        image.pixels = QImage(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.pixels.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), (x ^ y) & 0xFF));
        image.dpiX = 300;
        image.dpiY = 200;
        const imaging::Handle handle = imaging::ImageStore::instance().add(std::move(image));
        auto *v = viewer();
        v->replaceWorkingImage(handle);
        v->Ik5File1->setHandle(handle);
        v->Text1->setText(QStringLiteral("photo.jpg"));
        return handle;
    }

    // The save button's action with the modal dialog answered by `answer`,
    // which fills it in and presses a button. Should it leave the dialog
    // open, the dialog is closed so the test cannot hang.
    void saveThroughTheDialog(const std::function<void(frmSave *)> &answer)
    {
        bool answered = false;
        const QObject scope; // a dialog that never came takes the answer with it
        QTimer::singleShot(0, &scope, [&] {
            answered = true;
            answer(forms::get<frmSave>());
            forms::unload<frmSave>();
        });
        viewer()->Image8_Click();
        viewer()->Timer4_Timer();
        QVERIFY(answered);
        QVERIFY(!forms::isLoaded<frmSave>());
        QVERIFY(!forms::isLoaded<Form2>());
    }

    static std::function<void(frmSave *)> saveAs(const QString &folder, const QString &name,
                                                 QRadioButton *frmSave::*format)
    {
        return [=](frmSave *dialog) {
            dialog->txtCurdir->setText(folder);
            dialog->txtSavefileName->setText(name);
            (dialog->*format)->setChecked(true);
            dialog->cndSave_Click();
        };
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_folder = native(m_dir.filePath(QStringLiteral("保存 先")));
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(QDir(m_folder).mkpath(QStringLiteral("sub 1")));
        m_startFolder = QDir::currentPath();
    }

    void init()
    {
        AppPath = QStringLiteral(MORVELL_ART_DIR "/");
        QVERIFY(QDir::setCurrent(m_folder));
    }

    void cleanup()
    {
        testsupport::unloadAllForms();
        Module1::resetApplicationState();
        QDir::setCurrent(m_startFolder);
        for (const QString &entry : entriesOf(m_folder))
            if (entry != u"sub 1")
                QFile::remove(QDir(m_folder).filePath(entry));
    }

    void startState()
    {
        viewer()->Text1->setText(QStringLiteral("夏 1.png"));
        viewer()->Ik5File1->setOperation(10); // an earlier request
        auto *dialog = forms::get<frmSave>();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Save File"));
        QCOMPARE(dialog->txtSavefileName->text(), QStringLiteral("夏 1.png"));
        QCOMPARE(dialog->txtCurdir->text(), m_folder);
        QCOMPARE(dialog->Dir1->path(), m_folder);
        QCOMPARE(dialog->File1->path(), m_folder);
        QCOMPARE(dialog->txtDirName->text(), QStringLiteral("NewFolder"));
        QCOMPARE(viewer()->Ik5File1->operation(), 0);
        QVERIFY(dialog->optJpg->isChecked() && dialog->Option5->isChecked());
        QCOMPARE(dialog->HScroll1->value(), 50);
        QCOMPARE(dialog->HScroll1->minimum(), 1);
        QCOMPARE(dialog->HScroll1->maximum(), 100);
        QCOMPARE(dialog->Label6->text(), QString());
        // the format and the quality buttons are two groups
        dialog->optBmp->setChecked(true);
        QVERIFY(dialog->Option5->isChecked());
        dialog->Option1->setChecked(true);
        QVERIFY(dialog->optBmp->isChecked());
    }

    void saveRequest_data()
    {
        QTest::addColumn<QString>("folder"); // "." for the test's folder
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");  // the format button
        QTest::addColumn<QString>("quality"); // the quality button
        QTest::addColumn<int>("bar");         // moved to this value, 0 = untouched
        QTest::addColumn<QString>("path");    // "./" for the test's folder
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("written"); // quality in the file control, -1 = left alone
        QTest::newRow("BMP") << "." << "photo.jpg" << "optBmp" << "Option5" << 0 << "./photo.bmp" << 8 << -1;
        QTest::newRow("PNG") << "." << "photo.jpg" << "Option3" << "Option5" << 0 << "./photo.png" << 20 << -1;
        QTest::newRow("TIFF, several dots") << "." << "my.photo.jpg" << "optTif" << "Option5" << 0 << "./my.tif" << 13 << -1;
        QTest::newRow("JPEG, no dot") << "." << "scan01" << "optJpg" << "Option5" << 0 << "./scan01.jpg" << 10 << 60;
        QTest::newRow("empty name") << "." << "" << "optJpg" << "Option4" << 0 << "./.jpg" << 10 << 40;
        QTest::newRow("progressive 80") << "." << "photo.jpg" << "Option7" << "Option6" << 0 << "./photo.jpg" << 11 << 80;
        QTest::newRow("custom, bar untouched") << "." << "a.b" << "optJpg" << "Option1" << 0 << "./a.jpg" << 10 << 50;
        QTest::newRow("custom, bar at 75") << "." << "a.b" << "optJpg" << "Option1" << 75 << "./a.jpg" << 10 << 75;
        QTest::newRow("custom with PNG: no quality") << "." << "a" << "Option3" << "Option1" << 75 << "./a.png" << 20 << -1;
        QTest::newRow("root folder") << "/" << "photo.jpg" << "optJpg" << "Option5" << 0 << "/photo.jpg" << 10 << 60;
        QTest::newRow("folder with a trailing separator")
            << "./" << "photo.jpg" << "optBmp" << "Option5" << 0 << "./photo.bmp" << 8 << -1;
    }
    void saveRequest()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(QString, quality);
        QFETCH(int, bar);
        QFETCH(QString, path);
        QFETCH(int, code);
        QFETCH(int, written);
        const imaging::Handle handle = showImage();
        viewer()->Ik5File1->setQuality(33);
        viewer()->Ik5File1->setHandle(0); // the request names the display's image
        auto *dialog = forms::get<frmSave>();
        dialog->txtCurdir->setText(folder.replace(u'.', m_folder));
        dialog->txtSavefileName->setText(name);
        dialog->findChild<QRadioButton *>(format)->setChecked(true);
        dialog->findChild<QRadioButton *>(quality)->setChecked(true);
        if (bar) {
            dialog->HScroll1->setValue(bar);
            QCOMPARE(dialog->Label6->text(), QString::number(bar));
        }
        dialog->cndSave_Click();

        const QString expected = native(path.startsWith(u'.') ? m_folder + path.mid(1) : path);
        imaging::Ik5File *file = viewer()->Ik5File1;
        QCOMPARE(file->path(), expected);
        QCOMPARE(file->operation(), code);
        QCOMPARE(file->quality(), written < 0 ? 33 : written);
        QCOMPARE(file->handle(), handle);
        QCOMPARE(viewer()->Text1->text(), QFileInfo(expected).fileName());
        QVERIFY(!forms::isLoaded<frmSave>());
    }

    // The batch windows run with the main window unloaded: the dialog must
    // not build a fresh one, neither when it opens nor on either button.
    void withoutAMainWindowNoneIsBuilt_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("保存") << true;
        QTest::newRow("中止") << false;
    }
    void withoutAMainWindowNoneIsBuilt()
    {
        QFETCH(bool, save);
        auto *dialog = forms::get<frmSave>();
        QVERIFY(!forms::isLoaded<frmviewer>());
        QCOMPARE(dialog->txtSavefileName->text(), QString());
        QCOMPARE(dialog->txtCurdir->text(), m_folder);
        dialog->txtSavefileName->setText(QStringLiteral("photo"));
        if (save)
            dialog->cndSave_Click();
        else
            dialog->cmdCancel_Click();
        QVERIFY(!forms::isLoaded<frmSave>());
        QVERIFY(!forms::isLoaded<frmviewer>());
        QCOMPARE(entriesOf(m_folder), QStringList{QStringLiteral("sub 1")});
    }

    void emptyFolderBoxIsRefusedAndTheDialogStays()
    {
        showImage();
        auto *dialog = forms::get<frmSave>();
        dialog->txtCurdir->clear();
        ScriptedMessageBoxes boxes;
        boxes.expect(msgbox::Ok, QStringLiteral("Current Dirが決まっていませんﾃﾞｨﾚｸﾄﾘﾘｽﾄﾎﾞｯｸｽをｸﾘｯｸしてﾃﾞｨﾚｸﾄﾘを決定して下さい"));
        dialog->cndSave_Click();
        QVERIFY(boxes.verify());
        QCOMPARE(boxes.boxes().first().style, int(msgbox::OkOnly | msgbox::Critical));
        QCOMPARE(boxes.boxes().first().title, platform::applicationTitle());
        QVERIFY(forms::isLoaded<frmSave>());
        QCOMPARE(viewer()->Ik5File1->operation(), 0);
        QCOMPARE(viewer()->Text1->text(), QStringLiteral("photo.jpg"));
    }

    // A click puts the highlighted folder into the folder box; opening a
    // folder moves the file list and leaves the folder box alone.
    void folderListsFollowEachOther()
    {
        const QString sub = native(m_folder + QStringLiteral("/sub 1"));
        QVERIFY(writeFile(sub + QStringLiteral("/in sub.png"), "x"));
        auto *dialog = forms::get<frmSave>();
        dialog->Dir1->setListIndex(0);
        QCOMPARE(dialog->txtCurdir->text(), sub);
        QCOMPARE(dialog->Dir1->path(), m_folder);
        QCOMPARE(dialog->File1->path(), m_folder);

        dialog->txtCurdir->setText(QStringLiteral("typed by hand"));
        dialog->Dir1->setPath(sub);
        QCOMPARE(dialog->File1->path(), sub);
        QCOMPARE(dialog->File1->list(0), QStringLiteral("in sub.png"));
        QCOMPARE(dialog->txtCurdir->text(), QStringLiteral("typed by hand"));

        // A drive change opens that drive in both lists.
        testsupport::SeamOverride<folderlists::VolumeSource, &folderlists::setVolumeSource> drives(
            [this] { return QList<folderlists::Volume>{{QStringLiteral("/"), QString()}, {native(m_dir.path()), QString()}}; });
        dialog->Drive1->refresh();
        dialog->Drive1->setListIndex(1); // the current folder's drive: the current folder
        QCOMPARE(dialog->Dir1->path(), m_folder);
        QCOMPARE(dialog->File1->path(), m_folder);
        dialog->Drive1->setListIndex(0); // another drive: its root
        QCOMPARE(dialog->Dir1->path(), native(QDir::rootPath()));
        QCOMPARE(dialog->File1->path(), native(QDir::rootPath()));
        QVERIFY(QFile::remove(sub + QStringLiteral("/in sub.png")));
    }

    // The network button and the new-folder button reach the shared folder
    // actions with this dialog's boxes.
    void folderButtons()
    {
        auto *dialog = forms::get<frmSave>();
        testsupport::NetworkDriveOverride network(platform::NetworkDriveResult::NotAvailable);
        ScriptedMessageBoxes boxes;
        boxes.expect(msgbox::Ok);
        dialog->Command2->click();
        QCOMPARE(network.requests(), 1);
        QVERIFY(boxes.verify());

        dialog->txtDirName->setText(QStringLiteral("新しい 保存先"));
        dialog->Command1->click();
        const QString made = native(m_folder + QStringLiteral("/新しい 保存先"));
        QVERIFY(QFileInfo(made).isDir());
        QCOMPARE(dialog->txtCurdir->text(), made);
        QCOMPARE(native(QDir::currentPath()), made);
        QCOMPARE(dialog->txtDirName->text(), QString());
        QVERIFY(QDir(made).removeRecursively());
    }

    void everyFormatWrittenAndReadBack_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("quality");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("lossless");
        QTest::addColumn<int>("jpegQuality"); // 0: not a JPEG
        QTest::addColumn<bool>("progressive");
        QTest::newRow("BMP") << "optBmp" << "Option5" << "photo.bmp" << true << 0 << false;
        QTest::newRow("TIFF") << "optTif" << "Option5" << "photo.tif" << true << 0 << false;
        QTest::newRow("PNG") << "Option3" << "Option5" << "photo.png" << true << 0 << false;
        QTest::newRow("JPEG 40") << "optJpg" << "Option4" << "photo.jpg" << false << 40 << false;
        QTest::newRow("JPEG custom 90") << "optJpg" << "Option1" << "photo.jpg" << false << 90 << false;
        QTest::newRow("progressive JPEG 80") << "Option7" << "Option6" << "photo.jpg" << false << 80 << true;
    }
    void everyFormatWrittenAndReadBack()
    {
        QFETCH(QString, format);
        QFETCH(QString, quality);
        QFETCH(QString, file);
        QFETCH(bool, lossless);
        QFETCH(int, jpegQuality);
        QFETCH(bool, progressive);
        showImage();
        const QImage shown = imaging::ImageStore::instance().get(viewer()->Ik5Disp1->handle()).pixels;
        ScriptedMessageBoxes noBoxes;
        saveThroughTheDialog([&](frmSave *dialog) {
            dialog->findChild<QRadioButton *>(format)->setChecked(true);
            dialog->findChild<QRadioButton *>(quality)->setChecked(true);
            dialog->HScroll1->setValue(90);
            dialog->cndSave_Click();
        });

        const QString path = native(m_folder + u'/' + file);
        QCOMPARE(entriesOf(m_folder), (QStringList{file, QStringLiteral("sub 1")}));
        const imaging::Image read = imaging::readImageFile(path);
        QCOMPARE(read.pixels.size(), shown.size());
        QCOMPARE(qRound(read.dpiX), 300);
        QCOMPARE(qRound(read.dpiY), 200);
        if (lossless)
            QCOMPARE(read.pixels, shown);
        if (jpegQuality) {
            const QByteArray bytes = contentOf(path);
            QCOMPARE(luminanceDcStep(bytes), expectedDcStep(jpegQuality));
            QCOMPARE(bytes.contains("\xFF\xC2"), progressive);
        }
    }

    // Saving over a file replaces it without asking, and wholly.
    void savingOverAFileReplacesItWhole()
    {
        const QString path = native(m_folder + QStringLiteral("/photo.png"));
        QVERIFY(writeFile(path, QByteArray(200000, 'x')));
        showImage();
        saveThroughTheDialog(saveAs(m_folder, QStringLiteral("photo.jpg"), &frmSave::Option3));
        QCOMPARE(imaging::readImageFile(path).pixels.size(), QSize(40, 30));
        QVERIFY(QFileInfo(path).size() < 200000);
    }

    void cancellingWritesNothingAlsoAfterAnEarlierSave_data()
    {
        QTest::addColumn<bool>("byTitleBar");
        QTest::newRow("中止") << false;
        QTest::newRow("closed from the title bar") << true;
    }
    void cancellingWritesNothingAlsoAfterAnEarlierSave()
    {
        QFETCH(bool, byTitleBar);
        showImage();
        const QString path = native(m_folder + QStringLiteral("/photo.png"));
        saveThroughTheDialog(saveAs(m_folder, QStringLiteral("photo.jpg"), &frmSave::Option3));
        const QByteArray saved = contentOf(path);
        QVERIFY(!saved.isEmpty());

        showImage({8, 8}); // something else to save now
        saveThroughTheDialog([&](frmSave *dialog) {
            dialog->txtSavefileName->setText(QStringLiteral("other.jpg"));
            if (byTitleBar)
                dialog->close();
            else
                dialog->cmdCancel->click();
        });
        QCOMPARE(viewer()->Ik5File1->operation(), 0);
        QCOMPARE(contentOf(path), saved);
        QCOMPARE(entriesOf(m_folder), (QStringList{QStringLiteral("photo.png"), QStringLiteral("sub 1")}));
    }

    // A write that fails says which file and why, once; a file already at
    // the path stays as it was and nothing half-written is left.
    void failedSave_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("name the file system refuses") << "too long";
        QTest::newRow("read-only file system") << "read-only";
        QTest::newRow("disk full") << "full";
    }
    void failedSave()
    {
        QFETCH(QString, where);
        QTemporaryDir mountPoint;
        std::optional<testsupport::TmpfsMount> mount;
        QString folder = m_folder;
        QString name = QStringLiteral("photo.jpg");
        QSize size(40, 30);
        if (where == u"missing") {
            folder = native(m_folder + QStringLiteral("/not there"));
        } else if (where == u"too long") {
            name = QString(300, u'長') + QStringLiteral(".jpg");
        } else {
            mount.emplace(mountPoint.path(), QStringLiteral("size=64k"));
            if (!mount->mounted())
                QSKIP("mounting a small tmpfs needs the right to mount");
            folder = native(mountPoint.path());
            size = QSize(400, 400); // 480 KB of BMP on a 64 KB disk
        }
        const QString path = native(folder + QStringLiteral("/photo.bmp"));
        const QByteArray before("an older photo.bmp that must survive");
        if (mount) {
            QVERIFY(writeFile(path, before));
            if (where == u"read-only")
                QVERIFY(mount->remountReadOnly());
        }
        const QStringList entriesBefore = entriesOf(folder);

        showImage(size);
        ScriptedMessageBoxes boxes;
        boxes.expect(msgbox::Ok);
        saveThroughTheDialog(saveAs(folder, name, &frmSave::optBmp));
        QVERIFY(boxes.verify());
        const ScriptedMessageBoxes::Box box = boxes.boxes().first();
        QVERIFY2(box.text.contains(viewer()->Ik5File1->path()), qPrintable(box.text));
        QVERIFY(box.text.contains(QStringLiteral("保存できませんでした")));
        QVERIFY(!box.text.section(QStringLiteral("\n\n"), 2).isEmpty()); // the reason
        QCOMPARE(box.style, int(msgbox::Exclamation));
        QCOMPARE(entriesOf(folder), entriesBefore);
        if (mount)
            QCOMPARE(contentOf(path), before);
    }
};

QTEST_MAIN(TestSaveDialog)
#include "tst_frmsave.moc"
