#include <sys/stat.h>

#include <QtTest>

#include "rules/ErrorLog.h"
#include "support/SeamOverrides.h"

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An environment variable set (or removed, for a null value) for the life
// of the object.
class EnvironmentOverride
{
public:
    EnvironmentOverride(const char *name, const QByteArray &value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_previous(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~EnvironmentOverride()
    {
        if (m_had)
            qputenv(m_name, m_previous);
        else
            qunsetenv(m_name);
    }
    EnvironmentOverride(const EnvironmentOverride &) = delete;
    EnvironmentOverride &operator=(const EnvironmentOverride &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_previous;
};

} // namespace

class TestErrorLog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    testsupport::ClockOverride m_clock{QDateTime(QDate(2024, 5, 1), QTime(14, 5, 9))};
    const QByteArray m_record = "\"Resize Err\",\"/img/a.jpg\",\"damaged\",#14:05:09#\r\n";

    // A folder nothing can be written into, not even by root: its path
    // runs through a plain file.
    QString unwritableFolder()
    {
        const QString file = m_dir.filePath(QStringLiteral("plain-file"));
        QFile(file).open(QIODevice::WriteOnly);
        return file + QStringLiteral("/folder");
    }

private slots:
    void errorRecord_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("four fields") << "/img/a.jpg" << "damaged" << QTime(9, 30, 0)
                                     << QByteArray("\"Resize Err\",\"/img/a.jpg\",\"damaged\",#09:30:00#\r\n");
        QTest::newRow("24-hour clock") << "a" << "b" << QTime(14, 5, 9)
                                       << QByteArray("\"Resize Err\",\"a\",\"b\",#14:05:09#\r\n");
        QTest::newRow("empty fields stay fields") << "" << "" << QTime(0, 0, 0)
                                                  << QByteArray("\"Resize Err\",\"\",\"\",#00:00:00#\r\n");
        QTest::newRow("a comma stays inside its field") << "a" << "x, y" << QTime(1, 2, 3)
                                                        << QByteArray("\"Resize Err\",\"a\",\"x, y\",#01:02:03#\r\n");
        QTest::newRow("quotes are not doubled") << "say \"hi\".jpg" << "d" << QTime(1, 2, 3)
                                                << QByteArray("\"Resize Err\",\"say \"hi\".jpg\",\"d\",#01:02:03#\r\n");
        QTest::newRow("line breaks become blanks") << "a\r\nb.jpg" << "one\ntwo" << QTime(1, 2, 3)
                                                   << QByteArray("\"Resize Err\",\"a  b.jpg\",\"one two\",#01:02:03#\r\n");
        QTest::newRow("UTF-8") << "/写真/夏.jpg" << "ファイルが壊れています" << QTime(23, 59, 59)
                               << ("\"Resize Err\",\"/写真/夏.jpg\",\"ファイルが壊れています\",#23:59:59#\r\n"_qba);
    }
    void errorRecord()
    {
        QFETCH(QString, file);
        QFETCH(QString, description);
        QFETCH(QTime, time);
        QFETCH(QByteArray, expected);
        QCOMPARE(errorlog::errorRecord(file, description, time), expected);
    }

    void appendsToTheProgramFolder()
    {
        const QString folder = m_dir.filePath(QStringLiteral("program"));
        QVERIFY(QDir().mkpath(folder));
        testsupport::ProgramFolderOverride program(folder);
        const QString log = folder + QStringLiteral("/Errlog.txt");

        QCOMPARE(errorlog::AppendErrorRecord(QStringLiteral("/img/a.jpg"), QStringLiteral("damaged")).path, log);
        QCOMPARE(contentOf(log), m_record);
        QCOMPARE(errorlog::AppendErrorRecord(QStringLiteral("/img/a.jpg"), QStringLiteral("damaged")).path, log);
        QCOMPARE(contentOf(log), m_record + m_record);
    }

    void aRootFolderGetsNoSecondSeparator()
    {
        testsupport::ProgramFolderOverride program(QStringLiteral("/"));
        QCOMPARE(errorlog::programFolderLog(), QStringLiteral("/Errlog.txt"));
    }

    void anUnwritableProgramFolderFallsBackToTheStateFolder()
    {
        testsupport::ProgramFolderOverride program(unwritableFolder());
        const QString state = m_dir.filePath(QStringLiteral("state"));
        EnvironmentOverride xdg("XDG_STATE_HOME", QFile::encodeName(state));

        const errorlog::Appended appended = errorlog::AppendErrorRecord(QStringLiteral("/img/a.jpg"), QStringLiteral("damaged"));
        const QString log = state + QStringLiteral("/morvell-viewer/Errlog.txt");
        QCOMPARE(appended.path, log);
        QCOMPARE(contentOf(log), m_record);
    }

    void theStateFolderDefaultsToHome()
    {
        const QString home = m_dir.filePath(QStringLiteral("home"));
        EnvironmentOverride homeVariable("HOME", QFile::encodeName(home));
        {
            EnvironmentOverride xdg("XDG_STATE_HOME", QByteArray());
            QCOMPARE(errorlog::stateFolderLog(), home + QStringLiteral("/.local/state/morvell-viewer/Errlog.txt"));
        }
        EnvironmentOverride relative("XDG_STATE_HOME", "relative/state");
        QCOMPARE(errorlog::stateFolderLog(), home + QStringLiteral("/.local/state/morvell-viewer/Errlog.txt"));
    }

    void aFifoNamedLikeTheLogDoesNotBlock()
    {
        const QString folder = m_dir.filePath(QStringLiteral("fifo-program"));
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(::mkfifo(QFile::encodeName(folder + QStringLiteral("/Errlog.txt")).constData(), 0666), 0);
        testsupport::ProgramFolderOverride program(folder);
        const QString state = m_dir.filePath(QStringLiteral("fifo-state"));
        EnvironmentOverride xdg("XDG_STATE_HOME", QFile::encodeName(state));

        QCOMPARE(errorlog::AppendErrorRecord(QStringLiteral("/img/a.jpg"), QStringLiteral("damaged")).path,
                 state + QStringLiteral("/morvell-viewer/Errlog.txt"));
    }

    void withNowhereToWriteTheRecordGoesToStandardError()
    {
        const QString nowhere = unwritableFolder();
        testsupport::ProgramFolderOverride program(nowhere);
        EnvironmentOverride xdg("XDG_STATE_HOME", QFile::encodeName(nowhere));

        const errorlog::Appended appended = errorlog::AppendErrorRecord(QStringLiteral("/img/a.jpg"), QStringLiteral("damaged"));
        QVERIFY(appended.toStandardError());
        QVERIFY2(appended.reason.contains(nowhere), qPrintable(appended.reason));

        const errorlog::Appended named = errorlog::AppendErrorRecordTo(nowhere + QStringLiteral("/my.log"),
                                                                       QStringLiteral("/img/a.jpg"), QStringLiteral("damaged"));
        QVERIFY(named.toStandardError());
    }

    void aNamedLogFile()
    {
        const QString log = m_dir.filePath(QStringLiteral("shard-1.log"));
        QCOMPARE(errorlog::AppendErrorRecordTo(log, QStringLiteral("/img/a.jpg"), QStringLiteral("damaged")).path, log);
        QCOMPARE(contentOf(log), m_record);
    }
};

QTEST_GUILESS_MAIN(TestErrorLog)
#include "tst_errorlog.moc"
