#include "batch/RunProgress.h"

#include "app/Form2.h"
#include "app/Module1.h"
#include "platform/Guard.h"

namespace {

void showPercent(int percent)
{
    if (!forms::isLoaded<Form2>())
        return;
    auto *dialog = forms::get<Form2>();
    dialog->setLabel1Caption(QString::number(percent));
    dialog->Label1->repaint();
}

} // namespace

RunProgress::RunProgress(qsizetype entries, batch::CancelToken &cancel)
    : m_next(entries - 1)
    , m_cancel(cancel)
{
}

RunProgress::~RunProgress()
{
    closeDialog();
}

void RunProgress::stageStarted(qsizetype index, batch::Stage stage, const QString &text)
{
    const QString activity = stage == batch::Stage::Reading ? QStringLiteral("を読み込み中") : QStringLiteral("を保存中");
    m_stages[index] = {text + activity, -1};
    if (index == m_next)
        showStage(m_stages[index]);
}

void RunProgress::stageProgress(qsizetype index, batch::Stage, int percent)
{
    if (const auto stage = m_stages.find(index); stage != m_stages.end())
        stage->second.percent = percent;
    if (index == m_next)
        showPercent(percent);
    yield();
}

void RunProgress::entryFinished(const batch::Outcome &outcome)
{
    m_stages.erase(outcome.index);
    closeDialog();
    m_next = outcome.index - 1;
    if (const auto stage = m_stages.find(m_next); stage != m_stages.end())
        showStage(stage->second);
}

void RunProgress::logUnavailable(const QString &reason)
{
    m_logProblem = reason;
}

void RunProgress::waiting()
{
    yield();
}

void RunProgress::showStage(const Stage &stage)
{
    closeDialog();
    auto *dialog = forms::get<Form2>();
    dialog->Show();
    dialog->setStatus(stage.status);
    if (stage.percent >= 0)
        showPercent(stage.percent);
}

// The stop button can be pressed only while the run yields.
void RunProgress::yield()
{
    platform::yieldToEventLoop();
    takeStop();
}

// Only a dialog of this run has a CancelFlag of its own: a 1 left by a
// stopped run stays until the next dialog opens.
void RunProgress::takeStop()
{
    if (forms::isLoaded<Form2>() && CancelFlag == 1)
        m_cancel.cancel();
}

void RunProgress::closeDialog()
{
    takeStop();
    forms::unload<Form2>();
}
