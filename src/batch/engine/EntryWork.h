#pragma once

#include <functional>

#include <QByteArray>
#include <QSet>
#include <QString>

#include "batch/engine/BatchRun.h"

// The two halves of one entry of a run. The first (read, resolution, rule,
// resize, encode) may run on any thread and touches no file but the
// source; the second (name tests and commit) runs on the run's thread in
// entry order, so every name test sees the files the entries before it
// wrote, whatever number of workers there are.
namespace batch::detail {

struct EntryTask
{
    qsizetype index = 0;
    QString entry;    // as the list shows it: the error record's file field
    QString readPath; // where the source is read from
    Settings settings;
    bool resize = true;
    bool dryRun = false;
    int resizeThreads = 1;

    enum class Result {
        Encoded, // ready to be named and committed
        Skipped,
        Failed,
        Stopped, // the run was cancelled before this entry's write began
    };
    Result result = Result::Failed;
    QString description;
    QByteArray bytes; // the encoded output (empty in a dry run)
};

struct EntryEvents
{
    std::function<void(Stage stage, const QString &text)> started;
    std::function<void(Stage stage, int percent)> progress;
};

// Reads, resizes and encodes the entry, filling its result. Never throws.
void prepareEntry(EntryTask &task, const EntryEvents &events, const CancelToken &cancel);

// Tests the output names against the destination and writes the encoded
// entry there, returning the path written. `planned` holds the paths a dry
// run would have written so far, which count as taken. Throws
// imaging::Error.
[[nodiscard]] QString commitEntry(const EntryTask &task, QSet<QString> &planned);

} // namespace batch::detail
