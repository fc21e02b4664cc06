#include "batch/engine/BatchRun.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include <sched.h>

#include "batch/engine/EntryWork.h"
#include "platform/core/FolderPaths.h"
#include "rules/ErrorLog.h"

namespace batch {

void Sink::stageStarted(qsizetype, Stage, const QString &) {}
void Sink::stageProgress(qsizetype, Stage, int) {}
void Sink::logUnavailable(const QString &) {}
void Sink::waiting() {}

int usableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0)
        return int(std::max(1u, std::thread::hardware_concurrency()));
    return std::max(1, CPU_COUNT(&set));
}

namespace {

using detail::EntryTask;
using Task = std::shared_ptr<EntryTask>;
constexpr auto kWaitingInterval = std::chrono::milliseconds(50);

// What a worker reports, delivered to the sink on the run's thread.
struct Event
{
    qsizetype index;
    Stage stage;
    bool started; // else progress
    QString text;
    int percent;
};

class Run
{
public:
    Run(const Job &job, const SettingsSource &settings, Sink &sink, const CancelToken &cancel)
        : m_job(job), m_settings(settings), m_sink(sink), m_cancel(cancel)
    {
        const int jobs = std::max(job.jobs, 1);
        // One worker at a time may split its resize over two cores; many
        // workers already keep every core busy.
        m_resizeThreads = jobs == 1 ? std::min(usableCores(), 2) : 1;
        // Entries read ahead of the one being committed: enough to keep the
        // workers busy, few enough that waiting outputs stay small.
        m_window = jobs == 1 ? 1 : std::size_t(2 * jobs);
        if (jobs > 1)
            for (int i = 0; i < jobs; ++i)
                m_workers.emplace_back([this] { work(); });
    }

    ~Run() { close(); }
    Run(const Run &) = delete;
    Run &operator=(const Run &) = delete;

    RunResult run()
    {
        qsizetype next = m_job.entries.size() - 1;
        while (!m_cancel.cancelled() || !m_outstanding.empty()) {
            while (!m_cancel.cancelled() && next >= 0 && m_outstanding.size() < m_window)
                dispatch(next--);
            if (m_outstanding.empty())
                break;
            const Task task = m_outstanding.front();
            m_outstanding.pop_front();
            prepare(*task);
            // After a stop, only writes already under way complete, and
            // only while no entry before them is left out.
            const bool completes = !m_cancel.cancelled() || task->result == EntryTask::Result::Encoded;
            if (!completes)
                break;
            finish(*task);
        }
        close();
        m_result.cancelled = m_cancel.cancelled();
        return m_result;
    }

private:
    // The entry starts: its settings are read now and kept to its end.
    void dispatch(qsizetype index)
    {
        auto task = std::make_shared<EntryTask>();
        task->index = index;
        task->entry = m_job.entries[index];
        task->readPath = m_job.sourceFolder.isEmpty() ? task->entry
                                                      : folderlists::joinFolder(m_job.sourceFolder, task->entry);
        task->settings = m_settings();
        task->resize = m_job.resize;
        task->dryRun = m_job.dryRun;
        task->resizeThreads = m_resizeThreads;
        m_outstanding.push_back(task);
        if (!m_workers.empty()) {
            const std::lock_guard lock(m_mutex);
            m_queue.push_back(task);
            m_work.notify_one();
        }
    }

    // Brings the task to the end of its first half: on this thread when
    // there are no workers, else by waiting for its worker while passing
    // on what the workers report.
    void prepare(EntryTask &task)
    {
        if (m_workers.empty()) {
            const detail::EntryEvents direct{
                [&](Stage stage, const QString &text) { m_sink.stageStarted(task.index, stage, text); },
                [&](Stage stage, int percent) { m_sink.stageProgress(task.index, stage, percent); }};
            detail::prepareEntry(task, direct, m_cancel);
            return;
        }
        std::unique_lock lock(m_mutex);
        auto lastWaiting = std::chrono::steady_clock::now();
        for (;;) {
            while (!m_events.empty()) {
                const Event event = std::move(m_events.front());
                m_events.pop_front();
                lock.unlock();
                deliver(event);
                lock.lock();
            }
            if (m_done.contains(&task))
                break;
            m_changed.wait_for(lock, kWaitingInterval);
            if (std::chrono::steady_clock::now() - lastWaiting >= kWaitingInterval) {
                lock.unlock();
                m_sink.waiting();
                lock.lock();
                lastWaiting = std::chrono::steady_clock::now();
            }
        }
        m_done.erase(&task);
    }

    void deliver(const Event &event)
    {
        if (event.started)
            m_sink.stageStarted(event.index, event.stage, event.text);
        else
            m_sink.stageProgress(event.index, event.stage, event.percent);
    }

    // The second half: names, commit, record, outcome.
    void finish(const EntryTask &task)
    {
        Outcome outcome;
        outcome.index = task.index;
        outcome.entry = task.entry;
        outcome.description = task.description;
        switch (task.result) {
        case EntryTask::Result::Encoded:
            try {
                outcome.output = detail::commitEntry(task, m_planned);
                outcome.kind = Outcome::Kind::Written;
                m_sink.stageProgress(task.index, Stage::Writing, 100);
            } catch (const std::exception &error) {
                outcome.kind = Outcome::Kind::Failed;
                outcome.description = QString::fromUtf8(error.what());
            }
            break;
        case EntryTask::Result::Skipped:
            outcome.kind = Outcome::Kind::Skipped;
            break;
        case EntryTask::Result::Failed:
        case EntryTask::Result::Stopped:
            outcome.kind = Outcome::Kind::Failed;
            break;
        }
        if (outcome.kind == Outcome::Kind::Failed && !m_job.dryRun)
            record(outcome);
        count(outcome.kind);
        m_sink.entryFinished(outcome);
    }

    void record(const Outcome &outcome)
    {
        const errorlog::Appended appended =
            m_job.logFile.isEmpty() ? errorlog::AppendErrorRecord(outcome.entry, outcome.description)
                                    : errorlog::AppendErrorRecordTo(m_job.logFile, outcome.entry, outcome.description);
        if (appended.toStandardError() && !m_toldLogUnavailable) {
            m_toldLogUnavailable = true;
            m_sink.logUnavailable(appended.reason);
        }
    }

    void count(Outcome::Kind kind)
    {
        switch (kind) {
        case Outcome::Kind::Written: ++m_result.written; break;
        case Outcome::Kind::Skipped: ++m_result.skipped; break;
        case Outcome::Kind::Failed: ++m_result.failed; break;
        }
    }

    void work()
    {
        for (;;) {
            Task task;
            {
                std::unique_lock lock(m_mutex);
                m_work.wait(lock, [this] { return m_closing || !m_queue.empty(); });
                if (m_queue.empty())
                    return;
                task = std::move(m_queue.front());
                m_queue.pop_front();
            }
            const qsizetype index = task->index;
            const detail::EntryEvents queued{
                [this, index](Stage stage, const QString &text) { post({index, stage, true, text, 0}); },
                [this, index](Stage stage, int percent) { post({index, stage, false, QString(), percent}); }};
            detail::prepareEntry(*task, queued, m_cancel);
            const std::lock_guard lock(m_mutex);
            m_done.insert(task.get());
            m_changed.notify_all();
        }
    }

    void post(Event event)
    {
        const std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
        m_changed.notify_all();
    }

    // Entries not yet begun are dropped; those under way end first.
    void close()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_closing = true;
            m_queue.clear();
            m_work.notify_all();
        }
        m_workers.clear(); // joins
        m_outstanding.clear();
    }

    const Job &m_job;
    const SettingsSource &m_settings;
    Sink &m_sink;
    const CancelToken &m_cancel;
    int m_resizeThreads = 1;
    std::size_t m_window = 1;
    RunResult m_result;
    bool m_toldLogUnavailable = false;
    QSet<QString> m_planned;
    std::deque<Task> m_outstanding; // begun, in entry order; this thread only

    std::mutex m_mutex; // guards what follows
    std::condition_variable m_work;
    std::condition_variable m_changed;
    std::deque<Task> m_queue;
    std::deque<Event> m_events;
    std::set<const EntryTask *> m_done; // prepared by a worker, not yet taken
    bool m_closing = false;
    std::vector<std::jthread> m_workers; // last: joined before the rest goes
};

} // namespace

RunResult runBatch(const Job &job, const SettingsSource &settings, Sink &sink, const CancelToken &cancel)
{
    return Run(job, settings, sink, cancel).run();
}

} // namespace batch
