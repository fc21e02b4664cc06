#pragma once

#include <atomic>
#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "rules/SavePath.h"
#include "rules/SizeRules.h"

// The batch run without any window: each entry is read, given its
// resolution, resized by the size rule (or only converted), named and
// written; a failure is logged and the run goes on. The batch windows drive
// it with their boxes and the progress dialog, the command with its options.
namespace batch {

// What a run works on, fixed when it starts.
struct Job
{
    // The entries as the list shows them: full paths, or bare file names of
    // sourceFolder. The run takes them from the last to the first.
    QStringList entries;
    QString sourceFolder;
    // True: the size rule is applied and every output name is tested.
    // False: format conversion only, an existing file is replaced unless
    // the settings ask for renaming.
    bool resize = true;
    // Computes outcomes and names without decoding or writing anything.
    bool dryRun = false;
    // Entries worked on at once. Outputs, names, the log and the order of
    // the outcomes are the same for every number.
    int jobs = 1;
    // Where error records go; empty: the program's error log.
    QString logFile;
};

// The batch windows' boxes and buttons, as typed: read when each entry
// starts, so a change during a run holds from the next entry on.
struct Settings
{
    sizerules::RuleTexts rule;
    bool setResolution = false;
    QString resolution; // a leading number of dots per inch
    QString destination;
    std::optional<savepath::Format> format = savepath::Format::Jpeg; // none: nothing is written
    savepath::Quality quality = savepath::Quality::Q60;
    QString customQuality;
    // Avoid the names of files already in the destination: the source's
    // name, then the output's.
    bool rename = false;
};
using SettingsSource = std::function<Settings()>;

// Set from anywhere (a stop button, a signal handler); the run stops after
// the read or write under way: nothing more starts, nothing half-written
// stays.
class CancelToken
{
public:
    void cancel() noexcept { m_cancelled.store(true, std::memory_order_relaxed); }
    [[nodiscard]] bool cancelled() const noexcept { return m_cancelled.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> m_cancelled{false};
};

enum class Stage { Reading, Writing };

struct Outcome
{
    enum class Kind {
        Written, // output is the path written (or, in a dry run, that would be)
        Skipped, // the size came out below one pixel, or no format is chosen: no record
        Failed,  // description says why; one record is in the log
    };
    Kind kind = Kind::Failed;
    qsizetype index = 0; // in Job::entries
    QString entry;
    QString output;
    QString description;
};

// What a run tells its caller. Every call comes on the thread that called
// runBatch, in entry order for the outcomes.
class Sink
{
public:
    virtual ~Sink() = default;
    // A read or write begins: text is the entry when reading, the output
    // name as derived from the entry's name when writing.
    virtual void stageStarted(qsizetype index, Stage stage, const QString &text);
    virtual void stageProgress(qsizetype index, Stage stage, int percent);
    virtual void entryFinished(const Outcome &outcome) = 0;
    // No error log could be written; records go to standard error. Told
    // once a run.
    virtual void logUnavailable(const QString &reason);
    // Called at least every 50 ms while the run waits for its workers, so a
    // window can answer its user.
    virtual void waiting();
};

struct RunResult
{
    bool cancelled = false;
    int written = 0;
    int skipped = 0;
    int failed = 0;
};

[[nodiscard]] RunResult runBatch(const Job &job, const SettingsSource &settings, Sink &sink,
                                 const CancelToken &cancel);

// The processors this process may run on (its affinity, not the machine's).
[[nodiscard]] int usableCores();

} // namespace batch
