// The four runs started from the batch windows as a user starts them:
// the same files and records as morvell-batch for the same settings, the
// order and names, a stop at the third write, the boxes read as each entry
// starts, starts, Cancels and close boxes ignored during a run, and the end
// of a run unloading both windows from inside their own handlers.

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include "batch/BatchFixtures.h"
#include "app/Form2.h"
#include "app/Module1.h"
#include "batch/frmAllsave.h"
#include "batch/frmResize.h"
#include "imaging/core/ImageReader.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/SeamOverrides.h"
#include "support/core/TestImages.h"
#include "viewer/frmviewer.h"

using batchfixtures::photo;
using batchfixtures::put;
using batchfixtures::snapshot;
using testsupport::ScriptedMessageBoxes;

namespace {

// What a user does in the two windows for one run.
struct RunSetup
{
    std::function<void(frmResize *)> choose; // files and rule
    bool noResize = false;                   // "No Risaiz", else "OK"
    std::function<void(frmAllsave *)> output;
    const char *start = "cmdAllresize"; // the output window's button
};

// Runs fn on every pass of the event loop until the end of the scope: while
// a run goes on, those are its yields.
class DuringRun
{
public:
    explicit DuringRun(std::function<void()> fn)
    {
        QObject::connect(&m_timer, &QTimer::timeout, std::move(fn));
        m_timer.start(0);
    }

private:
    QTimer m_timer;
};

void search(frmResize *window, const QString &type)
{
    window->Check2->setChecked(true);
    window->cmbTarget->setEditText(type);
    window->cmdSearch_Click();
}

// The searched JPEGs resized by the long side into JPEG 60.
RunSetup searchedLongSide(const QString &side)
{
    return {[side](frmResize *w) {
                search(w, QStringLiteral("JPG(jpg)"));
                w->Text6->setText(side);
            },
            false, {}, "cmdAllresize"};
}

QStringList picked(const frmResize *window)
{
    QStringList names;
    for (int i = 0; i < window->File2->listCount(); ++i)
        names.append(window->File2->list(i));
    return names;
}

// The records of a log, each as its file's name and its description.
QStringList recordsOf(const QString &log)
{
    QStringList records;
    for (const QString &line : QString::fromUtf8(fixtures::readBytes(log)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QStringLiteral("\",\""));
        records.append(QFileInfo(fields.value(1)).fileName() + u' ' + fields.value(2).section(QStringLiteral("\",#"), 0, 0));
    }
    return records;
}

QByteArray bmpFile(const QImage &pixels)
{
    const fixtures::BmpLayout layout;
    return fixtures::bmpFile(layout, pixels.width(), pixels.height(), fixtures::bmpRows(pixels, layout));
}

int runCommand(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(MORVELL_BATCH_COMMAND), arguments);
    process.waitForFinished(120000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The outputs' widths in the order the run wrote them: from the last
// source to the first.
QList<int> widthsInRunOrder(const QString &out, int count)
{
    QList<int> widths;
    for (int i = count; i >= 1; --i)
        widths.append(imaging::probeImageFile(QStringLiteral("%1/%2.jpg").arg(out).arg(i)).size.width());
    return widths;
}

} // namespace

Q_DECLARE_METATYPE(RunSetup)

class TestBatchRuns : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_programFolder;
    std::optional<testsupport::ProgramFolderOverride> m_folder;
    testsupport::ClockOverride m_clock{QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0))};

    QString logPath() const { return m_programFolder.filePath(QStringLiteral("Errlog.txt")); }

    // The batch window as 自動リサイズ leaves it, on the source folder.
    static frmResize *batchWindowOn(const QString &folder)
    {
        auto *window = forms::get<frmResize>();
        window->Show();
        window->Dir2->setPath(folder);
        return window;
    }

    // Chooses, opens the output window, sets the destination and presses
    // the start button, as the user clicks it.
    static frmAllsave *runFrom(frmResize *window, const RunSetup &setup, const QString &destination)
    {
        setup.choose(window);
        QTest::mouseClick(setup.noResize ? window->Command3 : window->cmdAllresize, Qt::LeftButton);
        auto *output = forms::get<frmAllsave>();
        output->txtCurdir->setText(destination);
        if (setup.output)
            setup.output(output);
        QTest::mouseClick(output->findChild<QPushButton *>(QLatin1String(setup.start)), Qt::LeftButton);
        return output;
    }

    static void expectMainWindowBack()
    {
        QVERIFY(!forms::isLoaded<frmResize>() && !forms::isLoaded<frmAllsave>() && !forms::isLoaded<Form2>());
        QVERIFY(forms::isLoaded<frmviewer>());
        const frmviewer *viewer = forms::get<frmviewer>();
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->Ik5Disp1->handle(), imaging::Handle(0));
        QCOMPARE(viewer->Text1->text(), QString());
        QVERIFY(viewer->Frame5->isHidden() && !viewer->Image3->isEnabled());
    }

private slots:
    void initTestCase() { QVERIFY(m_programFolder.isValid()); }

    void init()
    {
        QFile::remove(logPath());
        m_folder.emplace(m_programFolder.path());
        AppPath = QStringLiteral(MORVELL_ART_DIR "/");
    }

    void cleanup()
    {
        testsupport::unloadAllForms();
        m_folder.reset();
        Module1::resetApplicationState();
    }

    // For the same settings the windows write the very files the command
    // writes, and log the same failures: damaged files, Japanese names, a
    // subfolder and a name already taken at the destination among them.
    void sameFilesAsTheCommand_data()
    {
        QTest::addColumn<RunSetup>("setup");
        QTest::addColumn<QStringList>("command"); // SRC: the source folder; FILES: the files picked
        QTest::newRow("searched, long side 80, JPEG 60")
            << searchedLongSide("80")
            << QStringList{"--search", "SRC", "--type", "JPG(jpg)", "--rule", "long:80"};
        QTest::newRow("picked, box 100x60, BMP")
            << RunSetup{[](frmResize *w) {
                            w->File2->selectAll();
                            w->Option4->setChecked(true);
                            w->Text3->setText("100");
                            w->Text5->setText("60");
                        },
                        false, [](frmAllsave *o) { o->optBmp->setChecked(true); }, "cmdResize"}
            << QStringList{"FILES", "--rule", "box:100x60", "--format", "bmp"};
        QTest::newRow("searched, format only: TIFF at 300 dpi, renaming")
            << RunSetup{[](frmResize *w) {
                            search(w, "*.*"); // the subfolder's own entry fails
                            w->Check1->setChecked(true);
                            w->Text8->setText("300dpi");
                        },
                        true,
                        [](frmAllsave *o) {
                            o->optTif->setChecked(true);
                            o->Check1->setChecked(true);
                        },
                        "Command1"}
            << QStringList{"--search", "SRC", "--type", "*.*", "--rule", "none", "--format", "tif", "--rename",
                           "--dpi", "300dpi"};
        QTest::newRow("picked, format only, JPEG over the files there")
            << RunSetup{[](frmResize *w) { w->File2->selectAll(); }, true, {}, "Command1"}
            << QStringList{"FILES", "--rule", "none"};
        QTest::newRow("picked, Kbyte 20, custom quality 75")
            << RunSetup{[](frmResize *w) {
                            w->File2->selectAll();
                            w->Option3->setChecked(true);
                            w->Text7->setText("20");
                        },
                        false,
                        [](frmAllsave *o) {
                            o->HScroll1->setValue(75);
                            o->Option4->setChecked(true);
                        },
                        "cmdResize"}
            << QStringList{"FILES", "--rule", "kbyte:20", "--quality", "75"};
        QTest::newRow("searched, free 50x40, quality 80")
            << RunSetup{[](frmResize *w) {
                            search(w, "JPG(jpg)");
                            w->Option2->setChecked(true);
                            w->Text2->setText("50");
                            w->Text1->setText("40");
                        },
                        false, [](frmAllsave *o) { o->Option3->setChecked(true); }}
            << QStringList{"--search", "SRC", "--type", "JPG(jpg)", "--rule", "free:50x40", "--quality", "80"};
        QTest::newRow("custom quality never set: every JPEG fails")
            << RunSetup{[](frmResize *w) { search(w, "JPG(jpg)"); w->Text6->setText("80"); }, false,
                        [](frmAllsave *o) { o->Option4->setChecked(true); }}
            << QStringList{"--search", "SRC", "--type", "JPG(jpg)", "--rule", "long:80", "--quality", ""};
    }
    void sameFilesAsTheCommand()
    {
        QFETCH(RunSetup, setup);
        QFETCH(QStringList, command);
        ScriptedMessageBoxes boxes;
        QTemporaryDir dir;
        const QString src = dir.filePath("写真 src");
        put(src, "a.jpg", photo(120, 90, 1));
        put(src, "B.JPG", photo(90, 120, 2));
        put(src, "c.Jpg", photo(120, 90, 3));
        put(src, "broken.jpg", batchfixtures::damagedPhoto());
        put(src, "notes.jpg", "not an image");
        put(src, "scan.png", fixtures::readBytes(QStringLiteral(MORVELL_ART_DIR "/viewer_logo.png")));
        put(src, "sub/夏 の 海.jpg", photo(160, 90, 4));
        put(src, "sub/a.jpg", photo(100, 100, 5));
        const auto sources = snapshot(src);
        for (const char *out : {"window", "command"})
            put(dir.filePath(out), "a.jpg", "held");

        auto *window = batchWindowOn(src);
        const QStringList files = picked(window);
        runFrom(window, setup, dir.filePath("window"));
        expectMainWindowBack();

        QStringList arguments;
        for (const QString &argument : command) {
            if (argument == u"FILES")
                for (const QString &name : files)
                    arguments.append(src + u'/' + name);
            else
                arguments.append(argument == u"SRC" ? src : argument);
        }
        arguments += {"--dest", dir.filePath("command"), "--log", dir.filePath("command.log")};
        QVERIFY(runCommand(arguments) >= 0);

        const auto written = snapshot(dir.filePath("window"));
        QCOMPARE(written.keys(), snapshot(dir.filePath("command")).keys());
        QVERIFY(written == snapshot(dir.filePath("command")));
        QCOMPARE(recordsOf(logPath()), recordsOf(dir.filePath("command.log")));
        QCOMPARE(snapshot(src), sources);
        QVERIFY(written.size() > 1 || !recordsOf(logPath()).isEmpty());
    }

    // The last entry first; each failure one record with the entry as the
    // list shows it, and the run goes on.
    void orderAndRecords_data()
    {
        QTest::addColumn<bool>("searched");
        QTest::newRow("searched files: full paths") << true;
        QTest::newRow("picked files: their names") << false;
    }
    void orderAndRecords()
    {
        QFETCH(bool, searched);
        ScriptedMessageBoxes boxes;
        QTemporaryDir dir;
        const QString src = dir.filePath("src");
        put(src, "a.jpg", photo(64, 48));
        put(src, "b.jpg", "not an image");
        put(src, "c.jpg", batchfixtures::damagedPhoto());
        QVERIFY(QDir().mkpath(dir.filePath("out")));
        RunSetup setup{[searched](frmResize *w) {
                           if (searched)
                               search(w, "JPG(jpg)");
                           else
                               w->File2->selectAll();
                           w->Text6->setText("32");
                       },
                       false, {}, searched ? "cmdAllresize" : "cmdResize"};
        runFrom(batchWindowOn(src), setup, dir.filePath("out"));

        expectMainWindowBack();
        const QString field = searched ? src + u'/' : QString();
        const QStringList log = QString::fromUtf8(fixtures::readBytes(logPath())).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(log.size(), 2);
        QVERIFY2(log[0].startsWith("\"Resize Err\",\"" + field + "c.jpg\","), qPrintable(log[0]));
        QVERIFY2(log[1].startsWith("\"Resize Err\",\"" + field + "b.jpg\","), qPrintable(log[1]));
        QVERIFY(log[1].endsWith(",#09:30:00#"));
        QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files), QStringList{"a.jpg"});
    }

    // Names at the destination: the output's name taken gives _1, then
    // _1_1; a format-only run replaces a file unless renaming is ticked.
    void namesAtTheDestination_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("resizing");
        QTest::addColumn<bool>("bmp");
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QString>("written");
        QTest::newRow("resizing: a.jpg taken") << QStringList{"a.jpg"} << "a.jpg" << true << false << false << "a_1.jpg";
        QTest::newRow("resizing: a_1.jpg taken too")
            << QStringList{"a.jpg", "a_1.jpg"} << "a.jpg" << true << false << false << "a_1_1.jpg";
        QTest::newRow("format only replaces a.jpg") << QStringList{"a.jpg"} << "a.jpg" << false << false << false
                                                    << "a.jpg";
        QTest::newRow("format only, renaming") << QStringList{"a.jpg"} << "a.jpg" << false << false << true << "a_1.jpg";
        QTest::newRow("b.bmp to JPEG, renaming: the source's name")
            << QStringList{"b.bmp"} << "b.bmp" << false << false << true << "b_1.jpg";
        QTest::newRow("Photo.JPEG") << QStringList{} << "Photo.JPEG" << true << false << false << "photo..jpg";
        QTest::newRow("IMG_0001.JPG to BMP") << QStringList{} << "IMG_0001.JPG" << true << true << false
                                             << "img_0001.bmp";
    }
    void namesAtTheDestination()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, source);
        QFETCH(bool, resizing);
        QFETCH(bool, bmp);
        QFETCH(bool, rename);
        QFETCH(QString, written);
        ScriptedMessageBoxes boxes;
        QTemporaryDir dir;
        const QString src = dir.filePath("src");
        const QString out = dir.filePath("out");
        put(src, source, source.endsWith(".bmp") ? bmpFile(fixtures::smooth(40, 30)) : photo(40, 30));
        QVERIFY(QDir().mkpath(out));
        for (const QString &name : present)
            put(out, name, "held");
        // Searched: the file list shows no .JPEG.
        RunSetup setup{[](frmResize *w) {
                           search(w, "*.*");
                           w->Text6->setText("20");
                       },
                       !resizing,
                       [bmp, rename](frmAllsave *o) {
                           if (bmp)
                               o->optBmp->setChecked(true);
                           o->Check1->setChecked(rename);
                       },
                       resizing ? "cmdAllresize" : "Command1"};
        runFrom(batchWindowOn(src), setup, out);

        expectMainWindowBack();
        QStringList expected = present;
        if (!expected.contains(written))
            expected.append(written);
        expected.sort();
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
        QVERIFY(imaging::probeImageFile(out + u'/' + written).size.width() > 0);
        for (const QString &name : present)
            if (name != written)
                QCOMPARE(fixtures::readBytes(out + u'/' + name), QByteArray("held"));
    }

    // A completed run, started by a click: both windows unload from inside
    // the output window's handler and are destroyed once it has returned
    // (under AddressSanitizer a use after that is an error); the main
    // window comes back in its start state. The dialog showed every
    // entry's read and write; no image is left in the store.
    void aCompletedRunBringsBackTheMainWindow()
    {
        ScriptedMessageBoxes boxes;
        QTemporaryDir dir;
        const QStringList sources = batchfixtures::putPhotos(dir.filePath("src"), 4, 160, 120);
        QVERIFY(QDir().mkpath(dir.filePath("out")));
        const std::size_t images = testsupport::imageCount();
        QPointer<frmResize> window = batchWindowOn(dir.filePath("src"));
        QPointer<frmAllsave> output;
        std::set<QString> statuses;
        bool percentShown = false;
        {
            const DuringRun watch([&] {
                if (!forms::isLoaded<Form2>())
                    return;
                const Form2 *progress = forms::get<Form2>();
                statuses.insert(progress->Label3->text());
                percentShown = percentShown || progress->Label1->text() != u"Label1";
            });
            const RunSetup setup = searchedLongSide("80");
            output = runFrom(window, setup, dir.filePath("out"));
        }
        expectMainWindowBack();
        QCOMPARE(testsupport::imageCount(), images);
        QTRY_VERIFY(window.isNull() && output.isNull());
        QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files).size(), 4);
        for (const QString &status : statuses)
            QVERIFY2(status.endsWith(u"を読み込み中") || status.endsWith(u"を保存中"), qPrintable(status));
        // A read may end between two yields; every write is shown.
        for (const QString &source : sources)
            QVERIFY(statuses.count(QFileInfo(source).fileName() + QStringLiteral("を保存中")));
        QVERIFY(percentShown);
    }

    // Nothing picked: nothing is read or written, and the run is complete.
    void nothingSelected()
    {
        ScriptedMessageBoxes boxes;
        QTemporaryDir dir;
        (void)batchfixtures::putPhotos(dir.filePath("src"), 2, 64, 48);
        QVERIFY(QDir().mkpath(dir.filePath("out")));
        runFrom(batchWindowOn(dir.filePath("src")), RunSetup{[](frmResize *w) { w->Text6->setText("20"); }, false, {}, "cmdResize"},
                dir.filePath("out"));
        expectMainWindowBack();
        QVERIFY(QDir(dir.filePath("out")).isEmpty());
        QVERIFY(!QFile::exists(logPath()));
    }

    // The stop button during the third write: that write completes, the
    // run ends with only files the run would have written first (what the
    // workers had under way completes too), and both windows stay. The
    // next start runs to its end.
    void aStopDuringTheThirdWrite()
    {
        ScriptedMessageBoxes boxes;
        QTemporaryDir dir;
        const QString out = dir.filePath("out");
        (void)batchfixtures::putPhotos(dir.filePath("src"), 8, 320, 240);
        QVERIFY(QDir().mkpath(out));
        auto *window = batchWindowOn(dir.filePath("src"));
        std::set<QString> writes;
        {
            const DuringRun watch([&] {
                if (!forms::isLoaded<Form2>() || writes.size() >= 3)
                    return;
                Form2 *progress = forms::get<Form2>();
                if (progress->Label3->text().endsWith(u"を保存中"))
                    writes.insert(progress->Label3->text());
                if (writes.size() == 3)
                    QTest::mouseClick(progress->Command1, Qt::LeftButton);
            });
            runFrom(window, searchedLongSide("100"), out);
        }
        const QStringList written = QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        QVERIFY2(written.size() >= 3 && written.size() < 8, qPrintable(written.join(u' ')));
        QStringList serial;
        for (int i = 8; i > 8 - written.size(); --i)
            serial.append(QStringLiteral("%1.jpg").arg(i));
        serial.sort();
        QCOMPARE(written, serial);
        QVERIFY(forms::isLoaded<frmResize>() && forms::isLoaded<frmAllsave>());
        QVERIFY(window->isVisible() && forms::get<frmAllsave>()->isVisible());
        QVERIFY(!forms::isLoaded<frmviewer>() && !forms::isLoaded<Form2>());

        QTest::mouseClick(forms::get<frmAllsave>()->cmdAllresize, Qt::LeftButton);
        expectMainWindowBack();
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), written.size() + 8);
    }

    // The boxes are read as each entry starts: a change during the run
    // holds from the next entry on, and entries already started keep theirs.
    void theBoxesAreReadAsEachEntryStarts()
    {
        ScriptedMessageBoxes boxes;
        QTemporaryDir dir;
        const QString out = dir.filePath("out");
        (void)batchfixtures::putPhotos(dir.filePath("src"), 8, 160, 120);
        QVERIFY(QDir().mkpath(out));
        auto *window = batchWindowOn(dir.filePath("src"));
        {
            const DuringRun watch([&] {
                if (QFile::exists(out + "/8.jpg"))
                    window->Text6->setText("30");
            });
            runFrom(window, searchedLongSide("40"), out);
        }
        expectMainWindowBack();
        const QList<int> widths = widthsInRunOrder(out, 8);
        QCOMPARE(widths.first(), 40);
        QCOMPARE(widths.last(), 30);
        QVERIFY2(std::is_sorted(widths.rbegin(), widths.rend()), qPrintable(QString::number(widths.count(40))));
        QCOMPARE(widths.count(40) + widths.count(30), 8);
    }

    // During a run, a second start (from either window or from code), both
    // Cancels, the close boxes and the search are ignored, and emptying the
    // lists changes nothing: the entries were taken when the run started.
    void startsCancelsAndCloseBoxesAreIgnoredDuringARun()
    {
        ScriptedMessageBoxes boxes; // not even a message
        QTemporaryDir dir;
        const QString out = dir.filePath("out");
        (void)batchfixtures::putPhotos(dir.filePath("src"), 6, 160, 120);
        QVERIFY(QDir().mkpath(out));
        auto *window = batchWindowOn(dir.filePath("src"));
        int tried = 0;
        {
            const DuringRun watch([&] {
                if (!forms::isLoaded<frmAllsave>() || tried++ > 0)
                    return;
                auto *output = forms::get<frmAllsave>();
                for (QPushButton *button : {output->cmdAllresize, output->cmdResize, output->Command1, output->Command3,
                                            window->cmdAllresize, window->Command3, window->Command2, window->cmdSearch})
                    QTest::mouseClick(button, Qt::LeftButton);
                output->close();
                window->close();
                window->resize();
                window->List1->clear();
            });
            runFrom(window, searchedLongSide("50"), out);
        }
        QVERIFY(tried > 0);
        expectMainWindowBack();
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), 6); // one run, no _1 of a second
    }

    // The window answers its user while two workers read large photos.
    void theWindowAnswersDuringARun()
    {
        ScriptedMessageBoxes boxes;
        QTemporaryDir dir;
        const QString src = dir.filePath("src");
        for (int i = 1; i <= 4; ++i)
            put(src, QStringLiteral("%1.jpg").arg(i), fixtures::jpegOf(fixtures::smooth(3000, 2000), 90));
        QVERIFY(QDir().mkpath(dir.filePath("out")));
        QElapsedTimer sinceLast;
        qint64 longest = 0;
        {
            const DuringRun watch([&] {
                if (sinceLast.isValid())
                    longest = std::max(longest, sinceLast.elapsed());
                sinceLast.start();
            });
            runFrom(batchWindowOn(src), searchedLongSide("800"),
                    dir.filePath("out"));
        }
        expectMainWindowBack();
        qInfo("longest time without an answer: %lld ms", longest);
        QVERIFY2(longest < 100, qPrintable(QString::number(longest)));
    }
};

QTEST_MAIN(TestBatchRuns)
#include "tst_batchruns.moc"
