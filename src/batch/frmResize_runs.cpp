// The four batch runs of the batch resize window, each one run of the batch
// engine: the window's lists give the entries once, its boxes and the
// output window's give each entry's settings as it starts, the progress
// dialog shows each read and write and its stop button stops the run.

#include "batch/frmResize.h"

#include <QScopedValueRollback>

#include "app/Module1.h"
#include "batch/RunProgress.h"
#include "batch/frmAllsave.h"
#include "platform/MessageBox.h"
#include "viewer/frmviewer.h"

namespace {

// Two entries at once keep both cores of a small machine busy while the
// window's own thread only names and writes the results.
constexpr int kWorkers = 2;

QStringList selectedEntries(const QListWidget *list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            entries.append(list->item(i)->text());
    return entries;
}

QStringList selectedFiles(const folderlists::FileList *files)
{
    QStringList names;
    for (int i = 0; i < files->listCount(); ++i)
        if (files->isSelected(i))
            names.append(files->list(i));
    return names;
}

// The boxes of both windows as they are now.
batch::Settings boxesNow(const frmResize &rule, const frmAllsave &output)
{
    batch::Settings settings;
    settings.rule = rule.ruleTexts();
    settings.setResolution = rule.Check1->isChecked();
    settings.resolution = rule.Text8->text();
    settings.destination = output.txtCurdir->text();
    settings.format = output.chosenFormat();
    settings.quality = output.chosenQuality();
    settings.customQuality = output.Label4->text();
    settings.rename = output.Check1->isChecked();
    return settings;
}

} // namespace

void frmResize::resize()
{
    run(Walk::SearchList, true);
}

void frmResize::resize2()
{
    run(Walk::PickedFiles, true);
}

void frmResize::All_save_us()
{
    run(Walk::SearchList, false);
}

void frmResize::select_save_as()
{
    run(Walk::PickedFiles, false);
}

batch::Job frmResize::jobFor(Walk walk, bool resizing) const
{
    batch::Job job;
    job.resize = resizing;
    job.jobs = kWorkers;
    if (walk == Walk::SearchList) {
        job.entries = selectedEntries(List1);
    } else {
        job.entries = selectedFiles(File2);
        job.sourceFolder = Dir2->path();
    }
    return job;
}

// The entries are taken once, here; a change of the lists during the run
// does not reach it. Both windows stay loaded for the whole run: their
// buttons and close boxes are ignored while it yields.
void frmResize::run(Walk walk, bool resizing)
{
    if (m_busy)
        return;
    const QScopedValueRollback busy(m_busy, true);
    const frmAllsave *output = forms::get<frmAllsave>();
    const batch::Job job = jobFor(walk, resizing);
    batch::CancelToken cancel;
    batch::RunResult result;
    {
        RunProgress sink(job.entries.size(), cancel);
        result = batch::runBatch(job, [this, output] { return boxesNow(*this, *output); }, sink, cancel);
        if (!sink.logProblem().isEmpty())
            platform::messageBox(QStringLiteral("エラーログを書き込めませんでした (%1)。\n"
                                                "失敗したファイルの記録は標準エラー出力に書き出しました。")
                                     .arg(sink.logProblem()),
                                 platform::msgbox::Exclamation);
    }
    // A stopped run leaves both windows open.
    if (result.cancelled)
        return;
    forms::unload<frmAllsave>();
    forms::unload<frmResize>();
    forms::get<frmviewer>()->Show();
}
