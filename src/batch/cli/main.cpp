// morvell-batch: the viewer's batch resize from a shell.

#include <csignal>
#include <cstdio>

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>

#include "batch/cli/CommandLine.h"
#include "batch/engine/FolderSearch.h"
#include "rules/SearchType.h"

namespace {

constexpr int kAllDone = 0;
constexpr int kSomeNotDone = 1;
constexpr int kUsageError = 2;

batch::CancelToken g_cancel;
volatile std::sig_atomic_t g_signal = 0;

// The first Ctrl-C (or SIGTERM, as a scheduler sends at its time limit)
// lets the write under way complete and starts nothing more; a second one
// ends the program at once.
void onSignal(int signal)
{
    g_signal = signal;
    g_cancel.cancel();
}

void catchSignals()
{
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = static_cast<int>(SA_RESETHAND);
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// A field of a result line: tabs and line breaks become blanks, so one
// entry is always one line of tab-separated fields.
QString field(QString text)
{
    for (const QChar c : {u'\t', u'\r', u'\n'})
        text.replace(c, u' ');
    return text;
}

// One line an entry on standard output; a progress line on standard error
// when that is a terminal.
class PrintingSink : public batch::Sink
{
public:
    explicit PrintingSink(qsizetype total) : m_total(total), m_progress(::isatty(STDERR_FILENO) == 1) {}
    ~PrintingSink() override
    {
        if (m_progress)
            print(stderr, QStringLiteral("\r\x1b[K"));
    }
    PrintingSink(const PrintingSink &) = delete;
    PrintingSink &operator=(const PrintingSink &) = delete;

    void stageStarted(qsizetype, batch::Stage stage, const QString &text) override
    {
        if (m_progress)
            print(stderr, QStringLiteral("\r\x1b[K[%1/%2] %3 %4")
                              .arg(m_finished + 1).arg(m_total)
                              .arg(stage == batch::Stage::Reading ? QStringLiteral("reading") : QStringLiteral("writing"),
                                   field(text)));
    }

    void entryFinished(const batch::Outcome &outcome) override
    {
        ++m_finished;
        if (m_progress)
            print(stderr, QStringLiteral("\r\x1b[K"));
        switch (outcome.kind) {
        case batch::Outcome::Kind::Written:
            print(stdout, QStringLiteral("OK\t%1\t%2\n").arg(field(outcome.entry), field(outcome.output)));
            break;
        case batch::Outcome::Kind::Skipped:
            print(stdout, QStringLiteral("SKIP\t%1\n").arg(field(outcome.entry)));
            break;
        case batch::Outcome::Kind::Failed:
            print(stdout, QStringLiteral("FAIL\t%1\t%2\n").arg(field(outcome.entry), field(outcome.description)));
            break;
        }
    }

    void logUnavailable(const QString &reason) override
    {
        print(stderr, QStringLiteral("morvell-batch: the error log cannot be written (%1); "
                                     "its records go to standard error\n").arg(reason));
    }

private:
    qsizetype m_total;
    qsizetype m_finished = 0;
    bool m_progress;
};

// The entries of a list file: one a line, or each ended by a NUL.
std::optional<QStringList> listedFiles(const QString &list, bool nulSeparated)
{
    QFile file;
    const bool opened = list == u"-" ? file.open(stdin, QIODevice::ReadOnly) : (file.setFileName(list), file.open(QIODevice::ReadOnly));
    if (!opened)
        return std::nullopt;
    QStringList entries;
    for (const QByteArray &entry : file.readAll().split(nulSeparated ? '\0' : '\n'))
        if (!entry.isEmpty())
            entries.append(QFile::decodeName(entry));
    return entries;
}

// The window's search; a folder that cannot be searched is reported, as
// the window shows it under "エラー", and counts as an entry not done.
QStringList searched(const QString &folder, const QString &type, bool &folderFailed)
{
    batch::SearchEvents events;
    events.folderFailed = [&folderFailed](const QString &, const QString &description) {
        folderFailed = true;
        print(stderr, QStringLiteral("エラー: %1\n").arg(field(description)));
    };
    return searchtype::selectedEntries(batch::searchFolder(folder, events), type);
}

std::optional<QStringList> entriesOf(const batchcli::CommandLine &command, bool &folderFailed)
{
    if (!command.searchFolder.isEmpty())
        return searched(command.searchFolder, command.searchType, folderFailed);
    QStringList entries = command.files;
    if (!command.filesFrom.isEmpty()) {
        const std::optional<QStringList> listed = listedFiles(command.filesFrom, command.nulSeparated);
        if (!listed)
            return std::nullopt;
        entries += *listed;
    }
    return entries;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const batchcli::Parsed parsed = batchcli::parseCommandLine(application.arguments().mid(1));
    if (!parsed.command) {
        print(stderr, QStringLiteral("morvell-batch: %1\nTry 'morvell-batch --help'.\n").arg(parsed.error));
        return kUsageError;
    }
    batchcli::CommandLine command = *parsed.command;
    if (command.help) {
        print(stdout, batchcli::usageText());
        return kAllDone;
    }
    catchSignals();
    bool folderFailed = false;
    const std::optional<QStringList> entries = entriesOf(command, folderFailed);
    if (!entries) {
        print(stderr, QStringLiteral("morvell-batch: cannot read %1\n").arg(command.filesFrom));
        return kUsageError;
    }
    command.job.entries = batchcli::shardOf(*entries, command.shardIndex, command.shardCount);

    PrintingSink sink(command.job.entries.size());
    const batch::Settings settings = command.settings;
    const batch::RunResult result = batch::runBatch(command.job, [&settings] { return settings; }, sink, g_cancel);
    if (result.cancelled)
        return 128 + (g_signal != 0 ? int(g_signal) : SIGINT);
    return result.failed + result.skipped > 0 || folderFailed ? kSomeNotDone : kAllDone;
}
