// The morvell-batch command as a shell uses it: its options, result lines
// and exit statuses, any number of jobs and shards giving one run's
// results, and Ctrl-C.

#include <csignal>

#include <QProcess>
#include <QtTest>

#include "BatchFixtures.h"

using batchfixtures::photo;
using batchfixtures::put;
using batchfixtures::snapshot;

namespace {

struct Result
{
    int exitCode = -1;
    QStringList lines; // standard output
    QString errors;    // standard error
};

Result runCommand(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(MORVELL_BATCH_COMMAND), arguments);
    if (!process.waitForStarted())
        qFatal("cannot start morvell-batch");
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    Result result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    result.errors = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// A log without its time fields, which differ from run to run.
QStringList recordsOf(const QString &log)
{
    QStringList records;
    for (const QString &line : QString::fromUtf8(fixtures::readBytes(log)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        records.append(line.section(u',', 0, -2));
    return records;
}

// A tree of photos with a damaged one, a Japanese name and a subfolder.
QString photoTree(const QString &root)
{
    const QString src = root + QStringLiteral("/src");
    put(src, "a.jpg", photo(120, 90, 1));
    put(src, "b.JPG", photo(90, 120, 2));
    put(src, "c.Jpg", photo(120, 90, 3));
    put(src, "broken.jpg", batchfixtures::damagedPhoto());
    put(src, "sub/夏 の 海.jpg", photo(160, 90, 4));
    put(src, "sub/a.jpg", photo(100, 100, 5));
    return src;
}

} // namespace

class TestMorvellBatch : public QObject
{
    Q_OBJECT

private slots:
    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("no rule") << QStringList{"--dest", "/tmp", "a.jpg"};
        QTest::newRow("unknown rule") << QStringList{"--rule", "wide:3", "--dest", "/tmp", "a.jpg"};
        QTest::newRow("rule without its value") << QStringList{"--rule", "long", "--dest", "/tmp", "a.jpg"};
        QTest::newRow("box without a height") << QStringList{"--rule", "box:800", "--dest", "/tmp", "a.jpg"};
        QTest::newRow("unknown format") << QStringList{"--rule", "none", "--format", "gif", "--dest", "/tmp", "a.jpg"};
        QTest::newRow("no destination") << QStringList{"--rule", "none", "a.jpg"};
        QTest::newRow("no input") << QStringList{"--rule", "none", "--dest", "/tmp"};
        QTest::newRow("zero jobs") << QStringList{"--rule", "none", "--jobs", "0", "--dest", "/tmp", "a.jpg"};
        QTest::newRow("shard beyond its count") << QStringList{"--rule", "none", "--shard", "2/2", "--dest", "/tmp", "a.jpg"};
        QTest::newRow("search without a type") << QStringList{"--rule", "none", "--search", "/tmp", "--dest", "/tmp"};
        QTest::newRow("search and files") << QStringList{"--rule", "none", "--search", "/tmp", "--type", "*", "--dest", "/tmp", "a.jpg"};
        QTest::newRow("unknown option") << QStringList{"--rule", "none", "--fast", "--dest", "/tmp", "a.jpg"};
        QTest::newRow("a list that cannot be read") << QStringList{"--rule", "none", "--files-from", "/nonexistent", "--dest", "/tmp"};
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        const Result result = runCommand(arguments);
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.lines.isEmpty());
        QVERIFY2(result.errors.startsWith("morvell-batch: "), qPrintable(result.errors));
    }

    void help()
    {
        const Result result = runCommand({"--help"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.lines.first().startsWith("Usage: morvell-batch"));
    }

    // The batch window's search, rule and rename box from a shell: one
    // line an entry, last first; the damaged photo in the log.
    void searchResizeAndRename()
    {
        QTemporaryDir dir;
        const QString src = photoTree(dir.path());
        const auto sources = snapshot(src);
        const QString out = dir.filePath("out");
        put(out, "a.jpg", "already there");
        const QString log = dir.filePath("log.txt");
        const Result result = runCommand({"--search", src, "--type", "JPG(jpg)", "--rule", "long:80", "--dest", out,
                                          "--rename", "--log", log, "--jobs", "2"});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.lines, (QStringList{
            "OK\t" + src + "/sub/夏 の 海.jpg\t" + out + "/夏 の 海.jpg",
            "OK\t" + src + "/sub/a.jpg\t" + out + "/a_1.jpg",
            "FAIL\t" + src + "/broken.jpg\tファイルが壊れています (データが途中で終わっています)",
            "OK\t" + src + "/b.JPG\t" + out + "/b.jpg",
            "OK\t" + src + "/a.jpg\t" + out + "/a_1_1.jpg",
        }));
        QCOMPARE(recordsOf(log), QStringList{"\"Resize Err\",\"" + src + "/broken.jpg\",\"ファイルが壊れています (データが途中で終わっています)\""});
        QCOMPARE(snapshot(src), sources);
        QCOMPARE(fixtures::readBytes(out + "/a.jpg"), QByteArray("already there"));
        QCOMPARE(snapshot(out).size(), 5);
    }

    void allWrittenExitsZero()
    {
        QTemporaryDir dir;
        const QString file = put(dir.path(), "夏.jpg", photo(64, 48));
        const Result result = runCommand({"--rule", "box:32x32", "--format", "png", "--dest", dir.path(), file});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.lines, QStringList{"OK\t" + file + "\t" + dir.path() + "/夏.png"});
    }

    // Names with blanks and line breaks pass through a NUL-separated list;
    // a result line stays one line.
    void filesFromAList_data()
    {
        QTest::addColumn<bool>("nul");
        QTest::addColumn<bool>("standardInput");
        QTest::newRow("lines in a file") << false << false;
        QTest::newRow("NULs on standard input") << true << true;
    }
    void filesFromAList()
    {
        QFETCH(bool, nul);
        QFETCH(bool, standardInput);
        QTemporaryDir dir;
        QStringList files{put(dir.path(), "a b.jpg", photo(64, 48, 1)), put(dir.path(), "写真.jpg", photo(64, 48, 2))};
        if (nul)
            files.append(put(dir.path(), "line\nbreak.jpg", photo(64, 48, 3)));
        const QByteArray list = files.join(nul ? QChar(u'\0') : QChar(u'\n')).toUtf8();
        const QString listFile = dir.filePath("list");
        QVERIFY(fixtures::writeBytes(listFile, list));
        QStringList arguments{"--rule", "short:20", "--dest", dir.filePath("out"), "--files-from",
                              standardInput ? "-" : listFile};
        if (nul)
            arguments << "-0";
        QVERIFY(QDir().mkpath(dir.filePath("out")));
        const Result result = runCommand(arguments, standardInput ? list : QByteArray());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.lines.size(), files.size());
        if (nul)
            QCOMPARE(result.lines.first(), "OK\t" + dir.path() + "/line break.jpg\t" + dir.path() + "/out/line break.jpg");
        QCOMPARE(snapshot(dir.filePath("out")).size(), files.size());
    }

    // Any number of jobs, and shards run one after the other into the same
    // folder, give one run's files and lines.
    void jobsAndShardsGiveOneRunsResults()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath("src");
        for (int i = 0; i < 9; ++i)
            put(src, QStringLiteral("photo%1.jpg").arg(i), i == 4 ? batchfixtures::damagedPhoto() : photo(200 + 30 * i, 150, i));
        const QStringList common{"--search", src, "--type", "*.*", "--rule", "long:100", "--quality", "80"};

        const auto run = [&](const QString &name, const QStringList &extra) {
            const QString out = dir.filePath(name);
            QDir().mkpath(out);
            Result result = runCommand(common + QStringList{"--dest", out, "--log", dir.filePath(name + ".log")} + extra);
            for (QString &line : result.lines)
                line.replace(out, QStringLiteral("OUT"));
            return result;
        };
        const Result serial = run("serial", {"--jobs", "1"});
        QCOMPARE(serial.exitCode, 1);
        QCOMPARE(serial.lines.size(), 9);
        const Result parallel = run("parallel", {"--jobs", "3"});
        QCOMPARE(parallel.lines, serial.lines);
        QVERIFY(snapshot(dir.filePath("parallel")) == snapshot(dir.filePath("serial")));
        QCOMPARE(recordsOf(dir.filePath("parallel.log")), recordsOf(dir.filePath("serial.log")));

        const Result first = run("shards", {"--shard", "0/2", "--log", dir.filePath("shard0.log")});
        const Result second = run("shards", {"--shard", "1/2", "--log", dir.filePath("shard1.log")});
        QStringList united = first.lines + second.lines;
        QStringList expected = serial.lines;
        united.sort();
        expected.sort();
        QCOMPARE(united, expected);
        QVERIFY(snapshot(dir.filePath("shards")) == snapshot(dir.filePath("serial")));
        QCOMPARE(recordsOf(dir.filePath("shard0.log")) + recordsOf(dir.filePath("shard1.log")),
                 recordsOf(dir.filePath("serial.log")));
    }

    void aDryRunWritesNothing()
    {
        QTemporaryDir dir;
        const QString src = photoTree(dir.path());
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        const auto before = snapshot(dir.path());
        const Result result = runCommand({"--search", src, "--type", "JPG(jpg)", "--rule", "long:80", "--dest", out,
                                          "--dry-run", "--log", dir.filePath("log.txt")});
        // Only headers are read: the damaged photo's is whole.
        QCOMPARE(result.lines.size(), 5);
        QCOMPARE(result.lines[1], "OK\t" + src + "/sub/a.jpg\t" + out + "/a.jpg");
        QCOMPARE(result.lines[4], "OK\t" + src + "/a.jpg\t" + out + "/a_1.jpg");
        QCOMPARE(snapshot(dir.path()), before);
    }

    // Ctrl-C: the write under way completes, nothing more starts, no file
    // is left half-written.
    void ctrlC()
    {
        QTemporaryDir dir;
        QStringList files;
        for (int i = 0; i < 60; ++i)
            files.append(put(dir.path(), QStringLiteral("src/%1.jpg").arg(i, 2, 10, QChar(u'0')), photo(1600, 1200, i)));
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        QProcess process;
        process.start(QStringLiteral(MORVELL_BATCH_COMMAND),
                      QStringList{"--rule", "long:1200", "--jobs", "2", "--dest", out, "--log", dir.filePath("log")} + files);
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(process.canReadLine(), 30000);
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 130);

        const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.size() < files.size(), qPrintable(QString::number(lines.size())));
        // Every file there is whole, and each is one the run reported.
        const QStringList written = fixtures::folderListing(out);
        QCOMPARE(written.size(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i], QStringLiteral("OK\t%1\t%2/%3.jpg").arg(files[files.size() - 1 - i], out).arg(files.size() - 1 - i, 2, 10, QChar(u'0')));
            QCOMPARE(QImage(out + u'/' + QFileInfo(lines[i].section(u'\t', 2)).fileName()).size(), QSize(1200, 900));
        }
    }

    // Without --log the records go beside the program, as the viewer's do;
    // a log that cannot be written is said once and the records go to
    // standard error.
    void whereTheRecordsGo()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath("program/morvell-batch");
        QVERIFY(QDir().mkpath(dir.filePath("program")));
        QVERIFY(QFile::copy(QStringLiteral(MORVELL_BATCH_COMMAND), program));
        const QStringList bad{put(dir.path(), "x.jpg", "x"), put(dir.path(), "y.jpg", "y")};
        const QStringList common = QStringList{"--rule", "none", "--dest", dir.path()} + bad;

        QProcess process;
        process.start(program, common);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(recordsOf(dir.filePath("program/Errlog.txt")).size(), 2);

        const Result unwritable = runCommand(QStringList{"--log", bad[0] + "/log.txt"} + common);
        QCOMPARE(unwritable.exitCode, 1);
        QCOMPARE(unwritable.errors.count("the error log cannot be written"), 1);
        QCOMPARE(unwritable.errors.count("\"Resize Err\""), 2);
    }
};

QTEST_GUILESS_MAIN(TestMorvellBatch)
#include "tst_morvellbatch.moc"
