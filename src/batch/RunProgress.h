#pragma once

#include <map>

#include <QString>

#include "batch/engine/BatchRun.h"

// A batch run on the progress dialog. A fresh dialog shows each read and
// each write of the entry the run finishes next (the workers may be reading
// the ones after it already), with its percentage. The dialog's stop button
// raises CancelFlag, which is taken into the run's token after every yield
// and before every dialog goes, so a stop is never lost to the reset of the
// next dialog; no dialog outlives the run.
class RunProgress : public batch::Sink
{
public:
    RunProgress(qsizetype entries, batch::CancelToken &cancel);
    ~RunProgress() override;
    RunProgress(const RunProgress &) = delete;
    RunProgress &operator=(const RunProgress &) = delete;

    void stageStarted(qsizetype index, batch::Stage stage, const QString &text) override;
    // Also lets the windows answer once, as every progress event does.
    void stageProgress(qsizetype index, batch::Stage stage, int percent) override;
    void entryFinished(const batch::Outcome &outcome) override;
    void logUnavailable(const QString &reason) override;
    void waiting() override;

    // Why no error log could be written, when it could not.
    [[nodiscard]] QString logProblem() const { return m_logProblem; }

private:
    struct Stage
    {
        QString status;
        int percent;
    };

    void showStage(const Stage &stage);
    void yield();
    void takeStop();
    void closeDialog();

    qsizetype m_next; // the entry the run finishes next: they finish from the last to the first
    std::map<qsizetype, Stage> m_stages;
    batch::CancelToken &m_cancel;
    QString m_logProblem;
};
