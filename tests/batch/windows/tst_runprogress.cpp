// A batch run on the progress dialog, driven by the events a run reports:
// which entry the dialog shows while workers read ahead, a fresh dialog
// for every read and write, and a stop that is never lost.

#include <QPointer>
#include <QtTest>

#include "app/Form2.h"
#include "app/Module1.h"
#include "batch/RunProgress.h"
#include "support/FormTesting.h"

using batch::Stage;

namespace {

batch::Outcome finished(qsizetype index)
{
    batch::Outcome outcome;
    outcome.kind = batch::Outcome::Kind::Written;
    outcome.index = index;
    return outcome;
}

// The dialog's status line and percentage; empty when none is loaded.
QStringList dialog()
{
    if (!forms::isLoaded<Form2>())
        return {};
    auto *progress = forms::get<Form2>();
    return {progress->Label3->text(), progress->Label1->text()};
}

void pressStop()
{
    QTest::mouseClick(forms::get<Form2>()->Command1, Qt::LeftButton);
}

} // namespace

class TestRunProgress : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        testsupport::unloadAllForms();
        Module1::resetApplicationState();
    }

    // Each read and each write gets a dialog of its own, which goes when
    // the entry ends.
    void aFreshDialogForEachReadAndWrite()
    {
        batch::CancelToken cancel;
        RunProgress progress(2, cancel);
        progress.stageStarted(1, Stage::Reading, QStringLiteral("/写真/b.jpg"));
        QCOMPARE(dialog(), (QStringList{"/写真/b.jpgを読み込み中", "Label1"}));
        const QPointer<Form2> reading = forms::get<Form2>();
        progress.stageProgress(1, Stage::Reading, 40);
        QCOMPARE(dialog(), (QStringList{"/写真/b.jpgを読み込み中", "40"}));
        QCOMPARE(forms::get<Form2>()->ProgressBar1->value(), 40);

        progress.stageStarted(1, Stage::Writing, QStringLiteral("b.jpg"));
        QCOMPARE(dialog(), (QStringList{"b.jpgを保存中", "Label1"}));
        QVERIFY(forms::get<Form2>() != reading.data());
        QCOMPARE(forms::get<Form2>()->ProgressBar1->value(), 0);
        progress.entryFinished(finished(1));
        QVERIFY(!forms::isLoaded<Form2>());
        QVERIFY(!cancel.cancelled());
    }

    // The dialog follows the entry the run finishes next; what the workers
    // report of the entries after it shows when its turn comes.
    void theDialogFollowsTheEntryFinishedNext()
    {
        batch::CancelToken cancel;
        RunProgress progress(3, cancel);
        progress.stageStarted(2, Stage::Reading, QStringLiteral("c.jpg"));
        progress.stageStarted(1, Stage::Reading, QStringLiteral("b.jpg"));
        progress.stageProgress(1, Stage::Reading, 70);
        progress.stageProgress(2, Stage::Reading, 30);
        QCOMPARE(dialog(), (QStringList{"c.jpgを読み込み中", "30"}));
        progress.stageStarted(1, Stage::Writing, QStringLiteral("b.jpg"));
        progress.stageProgress(1, Stage::Writing, 45);
        QCOMPARE(dialog(), (QStringList{"c.jpgを読み込み中", "30"}));

        progress.entryFinished(finished(2)); // skipped, say: no write of its own
        QCOMPARE(dialog(), (QStringList{"b.jpgを保存中", "45"}));
        progress.entryFinished(finished(1));
        QVERIFY(!forms::isLoaded<Form2>());
        progress.stageStarted(0, Stage::Reading, QStringLiteral("a.jpg"));
        QCOMPARE(dialog(), (QStringList{"a.jpgを読み込み中", "Label1"}));
    }

    // A stop pressed during a read or write is taken into the token before
    // the dialog goes, so the reset of the next dialog cannot lose it.
    void aStopIsTakenBeforeTheDialogGoes_data()
    {
        QTest::addColumn<int>("next"); // 0: the write starts, 1: the entry ends, 2: the run ends
        QTest::newRow("the write starts") << 0;
        QTest::newRow("the entry ends") << 1;
        QTest::newRow("the run ends") << 2;
    }
    void aStopIsTakenBeforeTheDialogGoes()
    {
        QFETCH(int, next);
        batch::CancelToken cancel;
        {
            RunProgress progress(2, cancel);
            progress.stageStarted(1, Stage::Reading, QStringLiteral("b.jpg"));
            pressStop();
            QCOMPARE(CancelFlag, qint16(1));
            if (next == 0) {
                progress.stageStarted(1, Stage::Writing, QStringLiteral("b.jpg"));
                QCOMPARE(CancelFlag, qint16(0)); // the fresh dialog's
            } else if (next == 1) {
                progress.entryFinished(finished(1));
            }
        }
        QVERIFY(cancel.cancelled());
        QVERIFY(!forms::isLoaded<Form2>());
    }

    // The stop button is answered while the run yields, and taken at once.
    void aStopPressedWhileTheRunWaits()
    {
        batch::CancelToken cancel;
        RunProgress progress(1, cancel);
        progress.stageStarted(0, Stage::Reading, QStringLiteral("a.jpg"));
        QTimer::singleShot(0, forms::get<Form2>(), &pressStop);
        progress.waiting();
        QVERIFY(cancel.cancelled());
    }

    // The 1 a stopped run left behind stops nothing of the next run.
    void anOlderStopStopsNothing()
    {
        CancelFlag = 1;
        batch::CancelToken cancel;
        {
            RunProgress progress(1, cancel);
            progress.waiting();
            progress.stageStarted(0, Stage::Reading, QStringLiteral("a.jpg"));
            progress.stageProgress(0, Stage::Reading, 100);
            progress.entryFinished(finished(0));
        }
        QVERIFY(!cancel.cancelled());
    }
};

QTEST_MAIN(TestRunProgress)
#include "tst_runprogress.moc"
