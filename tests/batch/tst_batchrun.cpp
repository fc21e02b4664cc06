// The batch run: its order, its names at the destination, skip versus
// failure, a stop, and the same results for any number of workers. Every
// bad input leaves the sources byte for byte as they were, no temporary
// file, one record per failed entry and the run going on.

#include <optional>

#include <sys/stat.h>

#include <QtTest>

#include "BatchFixtures.h"
#include "batch/engine/BatchRun.h"
#include "batch/engine/FolderSearch.h"
#include "base/Error.h"
#include "imaging/core/ImageReader.h"
#include "support/SeamOverrides.h"

using batch::Outcome;
using batch::Settings;
using batchfixtures::photo;
using batchfixtures::put;
using batchfixtures::snapshot;
using Kind = batch::Outcome::Kind;

namespace {

// What a run told its sink.
class RecordingSink : public batch::Sink
{
public:
    QList<Outcome> outcomes;
    int writesStarted = 0;
    int logUnavailableCount = 0;
    // Stops the run when this many writes have begun.
    int cancelAtWrite = 0;
    batch::CancelToken *cancel = nullptr;
    std::function<void()> onCancel;

    void stageStarted(qsizetype, batch::Stage stage, const QString &) override
    {
        if (stage == batch::Stage::Writing && ++writesStarted == cancelAtWrite) {
            cancel->cancel();
            if (onCancel)
                onCancel();
        }
    }
    void entryFinished(const Outcome &outcome) override { outcomes.append(outcome); }
    void logUnavailable(const QString &) override { ++logUnavailableCount; }

    // "kind name output-name description" per outcome, the folders left out.
    QStringList summary() const
    {
        QStringList lines;
        for (const Outcome &o : outcomes) {
            const char *kind = o.kind == Kind::Written ? "OK" : o.kind == Kind::Skipped ? "SKIP" : "FAIL";
            lines.append(QStringLiteral("%1 %2 %3%4").arg(QLatin1String(kind), QFileInfo(o.entry).fileName(),
                                                       QFileInfo(o.output).fileName(), o.description));
        }
        return lines;
    }
    QStringList written() const
    {
        QStringList names;
        for (const Outcome &o : outcomes)
            if (o.kind == Kind::Written)
                names.append(QFileInfo(o.output).fileName());
        return names;
    }
};

Settings longSide(const QString &destination, const QString &n = QStringLiteral("32"))
{
    Settings settings;
    settings.rule.rule = sizerules::Rule::LongSide;
    settings.rule.side = n;
    settings.destination = destination;
    settings.quality = savepath::Quality::Q80;
    return settings;
}

struct Run
{
    batch::RunResult result;
    RecordingSink sink;
};

std::unique_ptr<Run> runBatch(const QStringList &entries, const Settings &settings, batch::Job job = {},
                              int cancelAtWrite = 0)
{
    job.entries = entries;
    auto run = std::make_unique<Run>();
    batch::CancelToken cancel;
    run->sink.cancel = &cancel;
    run->sink.cancelAtWrite = cancelAtWrite;
    run->result = batch::runBatch(job, [&settings] { return settings; }, run->sink, cancel);
    return run;
}

QStringList lines(const QString &path)
{
    const QByteArray log = fixtures::readBytes(path);
    QStringList result;
    for (const QByteArray &line : log.split('\n'))
        if (!line.isEmpty())
            result.append(QString::fromUtf8(line));
    return result;
}

} // namespace

class TestBatchRun : public QObject
{
    Q_OBJECT

private:
    testsupport::ClockOverride m_clock{QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0))};

private slots:
    void runsFromTheLastEntryToTheFirst()
    {
        QTemporaryDir dir;
        const QString a = put(dir.path(), "src/a.jpg", photo(64, 48));
        const QString b = put(dir.path(), "src/b.jpg", batchfixtures::damagedPhoto());
        const QString c = put(dir.path(), "src/c.jpg", "not an image");
        batch::Job job;
        job.logFile = dir.filePath("log.txt");
        QVERIFY(QDir().mkpath(dir.filePath("out")));
        const auto run = runBatch({a, b, c}, longSide(dir.filePath("out")), job);

        QCOMPARE(run->sink.outcomes.size(), 3);
        QCOMPARE(run->sink.outcomes[0].entry, c);
        QCOMPARE(run->sink.outcomes[1].entry, b);
        QCOMPARE(run->sink.outcomes[2].entry, a);
        QCOMPARE(run->sink.outcomes[2].kind, Kind::Written);
        const QStringList log = lines(job.logFile);
        QCOMPARE(log.size(), 2);
        QVERIFY(log[0].startsWith("\"Resize Err\",\"" + c + "\","));
        QVERIFY(log[1].startsWith("\"Resize Err\",\"" + b + "\","));
        QVERIFY(log[1].endsWith("#09:30:00#\r"));
    }

    // Both name tests look at the folder the file goes to; with renaming
    // on, the final name is tested too; a name held by anything, even a
    // link to nothing that a plain test misses, is never written over.
    void namesAtTheDestination_data()
    {
        QTest::addColumn<QStringList>("present"); // in the destination before the run
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("resize");
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QString>("written");
        const int jpeg = int(savepath::Format::Jpeg);
        const int bmp = int(savepath::Format::Bmp);
        QTest::newRow("resizing: the name taken") << QStringList{"a.jpg"} << "a.jpg" << jpeg << true << false << "a_1.jpg";
        QTest::newRow("resizing: that name taken too") << QStringList{"a.jpg", "a_1.jpg"} << "a.jpg" << jpeg << true << false << "a_1_1.jpg";
        QTest::newRow("an empty destination") << QStringList{} << "a.jpg" << jpeg << true << false << "a.jpg";
        QTest::newRow("lower case, BMP") << QStringList{} << "IMG_0001.JPG" << bmp << true << false << "img_0001.bmp";
        QTest::newRow("a four-letter extension") << QStringList{} << "Photo.JPEG" << jpeg << true << false << "photo..jpg";
        QTest::newRow("converting replaces the file") << QStringList{"a.jpg"} << "a.jpg" << jpeg << false << false << "a.jpg";
        QTest::newRow("converting, renaming: the source's name") << QStringList{"a.jpg"} << "a.jpg" << jpeg << false << true << "a_1.jpg";
        QTest::newRow("renaming: b.bmp held keeps its extension") << QStringList{"b.bmp"} << "b.bmp" << jpeg << false << true << "b_1.jpg";
        QTest::newRow("renaming: b.jpg held, the output's name is tested too") << QStringList{"b.jpg"} << "b.bmp" << jpeg << false << true << "b_1.jpg";
        QTest::newRow("converting without renaming: b.jpg replaced") << QStringList{"b.jpg"} << "b.bmp" << jpeg << false << false << "b.jpg";
        QTest::newRow("a dangling link holds the name") << QStringList{"a.jpg -> nowhere"} << "a.jpg" << jpeg << true << false << "a_1.jpg";
        QTest::newRow("a folder holds the name") << QStringList{"a.jpg/"} << "a.jpg" << jpeg << true << false << "a_1.jpg";
    }
    void namesAtTheDestination()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, source);
        QFETCH(int, format);
        QFETCH(bool, resize);
        QFETCH(bool, rename);
        QFETCH(QString, written);

        QTemporaryDir dir;
        const QString entry = put(dir.path(), "src/" + source, photo(64, 48));
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        for (const QString &name : present) {
            if (name.endsWith(u'/'))
                QVERIFY(QDir().mkdir(out + u'/' + name));
            else if (name.contains(" -> "))
                QVERIFY(QFile::link(out + "/nowhere", out + u'/' + name.section(" -> ", 0, 0)));
            else
                put(out, name, "held");
        }
        const auto before = snapshot(out);
        Settings settings = longSide(out);
        settings.format = savepath::Format(format);
        settings.rename = rename;
        batch::Job job;
        job.resize = resize;
        job.logFile = dir.filePath("log.txt");
        const auto run = runBatch({entry}, settings, job);

        QCOMPARE(run->sink.summary(), QStringList{"OK " + source + " " + written});
        auto after = snapshot(out);
        QVERIFY(after.contains(written));
        QVERIFY(imaging::probeImageFile(out + u'/' + written).size.isValid());
        const bool replaced = before.contains(written);
        if (!replaced)
            after.remove(written);
        QCOMPARE(after.keys(), before.keys()); // no temporary file either
        for (const QString &name : before.keys())
            if (name != written || !replaced)
                QCOMPARE(after[name], before[name]);
    }

    // A run into the folder it reads from: the name tests see the
    // originals, which stay as they were.
    void theSourceFolderAsDestination()
    {
        QTemporaryDir dir;
        const QStringList entries{put(dir.path(), "a.jpg", photo(64, 48, 1)), put(dir.path(), "b.jpg", photo(64, 48, 2))};
        const auto before = snapshot(dir.path());
        batch::Job job;
        job.logFile = dir.filePath("log.txt");
        const auto run = runBatch(entries, longSide(dir.path()), job);
        QCOMPARE(run->sink.written(), (QStringList{"b_1.jpg", "a_1.jpg"}));
        const auto after = snapshot(dir.path());
        QCOMPARE(after["a.jpg"], before["a.jpg"]);
        QCOMPARE(after["b.jpg"], before["b.jpg"]);
        QCOMPARE(after.size(), 4);
    }

    // What a rule, a box or a name does to one good photo of 64 x 48:
    // a skip writes nothing and logs nothing, a failure logs one record.
    void skipOrFailure_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("resolution"); // empty: not set
        QTest::addColumn<QString>("quality");    // empty: 80
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("outcome"); // OK, SKIP or the failure's description
        const int longSide = int(sizerules::Rule::LongSide);
        const int free = int(sizerules::Rule::Free);
        const int kbyte = int(sizerules::Rule::Kbyte);
        const int box = int(sizerules::Rule::Box);
        QTest::newRow("free size 0 x 0 is skipped") << free << "" << "" << "" << "" << "a.jpg" << "SKIP";
        QTest::newRow("free size 640px x empty is skipped") << free << "640px" << "" << "" << "" << "a.jpg" << "SKIP";
        QTest::newRow("a negative side is skipped") << longSide << "-100" << "" << "" << "" << "a.jpg" << "SKIP";
        QTest::newRow("a long side that is no number") << longSide << "abc" << "" << "" << "" << "a.jpg" << "型が一致しません。";
        QTest::newRow("long 200000: beyond any image") << longSide << "200000" << "" << "" << "" << "a.jpg" << "画像が大きすぎます";
        QTest::newRow("-100 Kbyte") << kbyte << "-100" << "" << "" << "" << "a.jpg" << "プロシージャの呼び出し、または引数が不正です。";
        QTest::newRow("a box of 40000") << box << "40000" << "800" << "" << "" << "a.jpg" << "オーバーフローしました。";
        QTest::newRow("a box enlarges") << box << "128" << "128" << "" << "" << "a.jpg" << "OK";
        QTest::newRow("resolution 300") << longSide << "32" << "" << "300dpi" << "" << "a.jpg" << "OK";
        QTest::newRow("resolution 0: none known") << longSide << "32" << "" << "" << "" << "a.jpg" << "OK";
        QTest::newRow("resolution beyond a JPEG's") << longSide << "32" << "" << "70000" << "" << "a.jpg" << "解像度 70000 dpi は保存できません (0 から 65535 まで)";
        QTest::newRow("negative resolution") << longSide << "32" << "" << "-1" << "" << "a.jpg" << "解像度 -1 dpi は保存できません (0 から 65535 まで)";
        QTest::newRow("an empty custom quality") << longSide << "32" << "" << "" << "custom:" << "a.jpg" << "型が一致しません。";
        QTest::newRow("a custom quality beyond 100") << longSide << "32" << "" << "" << "custom:101" << "a.jpg" << "指定された値が正しくありません";
        QTest::newRow("a name of two characters") << longSide << "32" << "" << "" << "" << "ab" << "プロシージャの呼び出し、または引数が不正です。";
        QTest::newRow("a name of three characters") << longSide << "32" << "" << "" << "" << "a.j" << "プロシージャの呼び出し、または引数が不正です。";
    }
    void skipOrFailure()
    {
        QFETCH(int, rule);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, resolution);
        QFETCH(QString, quality);
        QFETCH(QString, name);
        QFETCH(QString, outcome);

        QTemporaryDir dir;
        const QString entry = put(dir.path(), "src/" + name, photo(64, 48));
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        Settings settings = longSide(out);
        settings.rule.rule = sizerules::Rule(rule);
        settings.rule.side = settings.rule.kbyte = settings.rule.width = first;
        settings.rule.height = second;
        settings.setResolution = !resolution.isEmpty() || outcome == u"OK";
        settings.resolution = resolution;
        if (quality.startsWith(u"custom:")) {
            settings.quality = savepath::Quality::Custom;
            settings.customQuality = quality.mid(7);
        }
        batch::Job job;
        job.logFile = dir.filePath("log.txt");
        const auto before = snapshot(dir.filePath("src"));
        const auto run = runBatch({entry}, settings, job);

        QCOMPARE(run->sink.outcomes.size(), 1);
        const Outcome &result = run->sink.outcomes[0];
        const QStringList log = lines(job.logFile);
        QCOMPARE(snapshot(dir.filePath("src")), before);
        if (outcome == u"OK") {
            QCOMPARE(result.kind, Kind::Written);
            const imaging::ImageInfo written = imaging::probeImageFile(result.output);
            QCOMPARE(written.dpiX, resolution.isEmpty() ? 96.0 : 300.0);
            QVERIFY(log.isEmpty());
        } else if (outcome == u"SKIP") {
            QCOMPARE(result.kind, Kind::Skipped);
            QVERIFY(log.isEmpty());
            QVERIFY(QDir(out).isEmpty());
        } else {
            QCOMPARE(result.kind, Kind::Failed);
            QVERIFY2(result.description.startsWith(outcome), qPrintable(result.description));
            QCOMPARE(log.size(), 1);
            QVERIFY(QDir(out).isEmpty());
        }
    }

    // Under a rule that would skip or fail it, a damaged file is still
    // reported damaged: every file is read before its rule is applied.
    void aDamagedFileIsReportedWhateverTheRule_data()
    {
        QTest::addColumn<QString>("side");
        QTest::newRow("a rule that skips") << "-1";
        QTest::newRow("a rule that fails") << "abc";
        QTest::newRow("a rule that works") << "32";
    }
    void aDamagedFileIsReportedWhateverTheRule()
    {
        QFETCH(QString, side);
        QTemporaryDir dir;
        const QString entry = put(dir.path(), "damaged.jpg", batchfixtures::damagedPhoto());
        batch::Job job;
        job.logFile = dir.filePath("log.txt");
        const auto run = runBatch({entry}, longSide(dir.path(), side), job);
        QCOMPARE(run->sink.outcomes.size(), 1);
        QCOMPARE(run->sink.outcomes[0].kind, Kind::Failed);
        QVERIFY2(run->sink.outcomes[0].description.startsWith(imaging::Error::reasonText(imaging::Error::Kind::Damaged)),
                 qPrintable(run->sink.outcomes[0].description));
    }

    // A searched folder whose files change before the run, with files no
    // reader may open and names of every kind: one record per bad entry,
    // the good ones written, the sources as they were.
    void badEntriesAmongGoodOnes()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath("src");
        put(src, "good one.jpg", photo(64, 48, 1));
        put(src, "写真/夏.jpg", photo(48, 64, 2));
        put(src, "line\nbreak.jpg", photo(64, 48, 3));
        put(src, "removed.jpg", photo(64, 48, 4));
        put(src, "truncated.jpg", photo(64, 48, 5));
        put(src, "damaged.jpg", batchfixtures::damagedPhoto());
        put(src, "un\r\nsupported.jpg", "GIF89a not really");
        put(src, "empty.jpg", QByteArray());
        QCOMPARE(::mkfifo(QFile::encodeName(src + "/fifo.jpg").constData(), 0644), 0);
        // The search skips the FIFO; a list naming it must not block on it.
        QStringList entries = batch::searchFolder(src) << src + "/fifo.jpg";
        QVERIFY(QFile::remove(src + "/removed.jpg"));
        QVERIFY(QFile::resize(src + "/truncated.jpg", 300));
        const auto before = snapshot(src);
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        batch::Job job;
        job.logFile = dir.filePath("log.txt");

        const auto run = runBatch(entries, longSide(out), job);
        QCOMPARE(run->sink.summary(), (QStringList{
            "FAIL fifo.jpg 通常のファイルではありません",
            "OK 夏.jpg 夏.jpg",
            "FAIL 写真 通常のファイルではありません", // a folder entry, as a search with type * gives
            "FAIL un\r\nsupported.jpg 対応していない形式です",
            "FAIL truncated.jpg ファイルが壊れています (データが途中で終わっています)",
            "FAIL removed.jpg ファイルが見つかりません",
            "OK line\nbreak.jpg line\nbreak.jpg",
            "OK good one.jpg good one.jpg",
            "FAIL empty.jpg 対応していない形式です",
            "FAIL damaged.jpg ファイルが壊れています (データが途中で終わっています)",
        }));
        QCOMPARE(snapshot(src), before);
        QCOMPARE(snapshot(out).size(), 3);
        // One record a failure, one line each.
        const QStringList log = lines(job.logFile);
        QCOMPARE(log.size(), 7);
        QVERIFY(log[2].contains("un  supported.jpg"));
    }

    // A stop while the third of five files is written: that write
    // completes, nothing after it starts, nothing half-written stays. With
    // two workers, what is written is still the serial run's first files,
    // with no gap.
    void aStopDuringTheThirdOfFiveWrites_data()
    {
        QTest::addColumn<int>("jobs");
        QTest::newRow("one at a time") << 1;
        QTest::newRow("two workers") << 2;
    }
    void aStopDuringTheThirdOfFiveWrites()
    {
        QFETCH(int, jobs);
        QTemporaryDir dir;
        const QStringList entries = batchfixtures::putPhotos(dir.filePath("src"), 5, 640, 480);
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        batch::Job job;
        job.entries = entries;
        job.jobs = jobs;
        job.logFile = dir.filePath("log.txt");
        // An entry starts when its settings are read.
        int started = 0;
        int startedAtStop = -1;
        const batch::SettingsSource settings = [&] {
            ++started;
            return longSide(out, "320");
        };
        RecordingSink sink;
        batch::CancelToken cancel;
        sink.cancel = &cancel;
        sink.cancelAtWrite = 3;
        sink.onCancel = [&] { startedAtStop = started; };
        const batch::RunResult result = batch::runBatch(job, settings, sink, cancel);

        QVERIFY(result.cancelled);
        QCOMPARE(started, startedAtStop);
        const QStringList serial{"5.jpg", "4.jpg", "3.jpg", "2.jpg", "1.jpg"};
        const QStringList written = sink.written();
        if (jobs == 1)
            QCOMPARE(written, serial.mid(0, 3));
        else // which files were under way depends on the workers' pace
            QVERIFY2(written == serial.mid(0, written.size()), qPrintable(written.join(u' ')));
        QStringList files = written;
        files.sort();
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
        for (const QString &name : written)
            QCOMPARE(imaging::probeImageFile(out + u'/' + name).size, QSize(320, 240));
        QVERIFY(lines(job.logFile).isEmpty());
    }

    // Outputs, names, order and log are the same for any number of
    // workers, with names that collide, failures and skips among them.
    void anyNumberOfWorkersGivesTheSameRun()
    {
        QTemporaryDir dir;
        QStringList entries;
        for (int i = 0; i < 14; ++i) {
            const QString folder = QStringLiteral("src/%1").arg(i % 3);
            const QString name = QStringLiteral("photo%1.jpg").arg(i % 5); // the same name in several folders
            if (i % 7 == 3)
                entries.append(put(dir.path(), folder + "/bad" + name, batchfixtures::damagedPhoto()));
            else
                entries.append(put(dir.path(), folder + u'/' + name, photo(200 + 40 * i, 150 + 10 * i, i)));
        }
        entries.insert(5, put(dir.path(), "src/ab", photo(64, 48)));
        QMap<QString, QByteArray> firstOutputs;
        QStringList firstSummary;
        QByteArray firstLog;
        for (const int jobs : {1, 2, 3}) {
            const QString out = dir.filePath(QStringLiteral("out%1").arg(jobs));
            QVERIFY(QDir().mkpath(out));
            batch::Job job;
            job.jobs = jobs;
            job.logFile = dir.filePath(QStringLiteral("log%1.txt").arg(jobs));
            Settings settings = longSide(out, "100");
            settings.rename = true;
            const auto run = runBatch(entries, settings, job);
            const QStringList summary = run->sink.summary();
            const auto outputs = snapshot(out);
            const QByteArray log = fixtures::readBytes(job.logFile);
            if (jobs == 1) {
                firstOutputs = outputs;
                firstSummary = summary;
                firstLog = log;
                QCOMPARE(summary.size(), entries.size());
                QVERIFY(summary.contains("OK photo0.jpg photo0_1.jpg"));
                continue;
            }
            QCOMPARE(summary, firstSummary);
            QCOMPARE(outputs.keys(), firstOutputs.keys());
            QVERIFY(outputs == firstOutputs);
            QCOMPARE(log, firstLog);
        }
    }

    // The window's boxes are read when each entry starts.
    void settingsAreReadWhenEachEntryStarts_data()
    {
        QTest::addColumn<int>("jobs");
        QTest::newRow("one at a time") << 1;
        QTest::newRow("three workers") << 3;
    }
    void settingsAreReadWhenEachEntryStarts()
    {
        QFETCH(int, jobs);
        QTemporaryDir dir;
        const QStringList entries = batchfixtures::putPhotos(dir.filePath("src"), 6, 64, 48);
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        int reads = 0;
        // The long side shrinks by one pixel for each entry started.
        const batch::SettingsSource settings = [&] { return longSide(out, QString::number(40 - reads++)); };
        batch::Job job;
        job.entries = entries;
        job.jobs = jobs;
        RecordingSink sink;
        batch::CancelToken cancel;
        (void)batch::runBatch(job, settings, sink, cancel);
        QCOMPARE(reads, 6);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(imaging::probeImageFile(sink.outcomes[i].output).size.width(), 40 - i);
    }

    // A destination that takes no file: every entry fails with the reason,
    // the run goes on to the last, nothing is left there.
    void aDestinationThatTakesNothing_data()
    {
        QTest::addColumn<bool>("full"); // else read-only
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << true << "No space left on device";
        QTest::newRow("read-only") << false << (fixtures::runningAsRoot() ? "Read-only file system" : "Permission denied");
    }
    void aDestinationThatTakesNothing()
    {
        QFETCH(bool, full);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        std::optional<testsupport::TmpfsMount> mount;
        if (fixtures::runningAsRoot()) {
            mount.emplace(out, QStringLiteral("size=64k"));
            if (!mount->mounted())
                QSKIP("cannot mount a tmpfs here");
            if (!full && !mount->remountReadOnly())
                QSKIP("cannot remount read-only here");
        } else if (full) {
            QSKIP("a small file system needs root");
        } else {
            QVERIFY(QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }
        const QStringList entries = batchfixtures::putPhotos(dir.filePath("src"), 3, 400, 300);
        const auto before = snapshot(dir.filePath("src"));
        Settings settings = longSide(out, "300");
        settings.format = savepath::Format::Bmp; // 270 kB, beyond the 64 kB file system
        batch::Job job;
        job.logFile = dir.filePath("log.txt");
        const auto run = runBatch(entries, settings, job);

        QCOMPARE(run->result.failed, 3);
        for (const Outcome &outcome : run->sink.outcomes)
            QVERIFY2(outcome.description.startsWith(imaging::Error::reasonText(imaging::Error::Kind::WriteFailed))
                         && outcome.description.contains(reason),
                     qPrintable(outcome.description));
        QCOMPARE(lines(job.logFile).size(), 3);
        QCOMPARE(fixtures::folderListing(out), QStringList());
        QCOMPARE(snapshot(dir.filePath("src")), before);
        QFile::setPermissions(out, QFileDevice::Permissions(0x7700));
    }

    // A log that cannot be written does not stop the run; the caller hears
    // of it once.
    void anUnwritableLogIsToldOnce()
    {
        QTemporaryDir dir;
        const QStringList entries{put(dir.path(), "a.jpg", "x"), put(dir.path(), "b.jpg", "y"),
                                  put(dir.path(), "c.jpg", photo(64, 48))};
        batch::Job job;
        job.logFile = dir.filePath("a.jpg/log.txt"); // below a plain file
        const auto run = runBatch(entries, longSide(dir.filePath("out")), job);
        QCOMPARE(run->sink.outcomes.size(), 3);
        QCOMPARE(run->sink.logUnavailableCount, 1);
    }

    // A dry run names what it would write, counting its own names as taken,
    // and writes nothing: no image, no log.
    void aDryRunWritesNothing()
    {
        QTemporaryDir dir;
        const QStringList entries{put(dir.path(), "src/1/a.jpg", photo(64, 48, 1)),
                                  put(dir.path(), "src/2/a.jpg", photo(64, 48, 2)),
                                  put(dir.path(), "src/3/b.jpg", "not an image"),
                                  put(dir.path(), "src/4/c.jpg", photo(64, 48, 3))};
        const QString out = dir.filePath("out");
        put(out, "c.jpg", "held");
        const auto before = snapshot(dir.path());
        batch::Job job;
        job.dryRun = true;
        job.logFile = dir.filePath("log.txt");
        const auto run = runBatch(entries, longSide(out), job);
        QCOMPARE(run->sink.summary(), (QStringList{"OK c.jpg c_1.jpg", "FAIL b.jpg 対応していない形式です",
                                                   "OK a.jpg a.jpg", "OK a.jpg a_1.jpg"}));
        QCOMPARE(snapshot(dir.path()), before);
    }

    // Hand-picked files are names in the source folder: read from there,
    // recorded by their names.
    void handPickedNamesAreReadFromTheSourceFolder()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath("src");
        put(src, "a.jpg", photo(64, 48));
        put(src, "b.jpg", "not an image");
        const QString out = dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        batch::Job job;
        job.sourceFolder = src;
        job.logFile = dir.filePath("log.txt");
        const auto run = runBatch({"a.jpg", "b.jpg"}, longSide(out), job);
        QCOMPARE(run->sink.summary(), (QStringList{"FAIL b.jpg 対応していない形式です", "OK a.jpg a.jpg"}));
        QCOMPARE(run->sink.outcomes[0].entry, "b.jpg");
        QVERIFY(lines(job.logFile).value(0).startsWith("\"Resize Err\",\"b.jpg\","));

        const auto nothing = runBatch({}, longSide(out), job);
        QVERIFY(nothing->sink.outcomes.isEmpty());
        QVERIFY(!nothing->result.cancelled);
    }

    // An emptied destination box names no folder: the file is not written
    // to the file system's root.
    void anEmptyDestinationFailsEachFile()
    {
        QTemporaryDir dir;
        batch::Job job;
        job.logFile = dir.filePath("log.txt");
        const auto run = runBatch({put(dir.path(), "a.jpg", photo(64, 48))}, longSide(QString()), job);
        QCOMPARE(run->sink.summary(), QStringList{"FAIL a.jpg ファイルに書き込めません (保存するフォルダーがありません)"});
        QCOMPARE(lines(job.logFile).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestBatchRun)
#include "tst_batchrun.moc"
