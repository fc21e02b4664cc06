#include <QtTest>

#include "imaging/core/SlideSchedule.h"

using imaging::SlideSchedule;
using Step = SlideSchedule::Step;

Q_DECLARE_METATYPE(std::optional<int>)

class TestSlideSchedule : public QObject
{
    Q_OBJECT

private slots:
    void firstSlideAtOnceThenEveryInterval()
    {
        SlideSchedule show;
        show.prepare(5);
        show.setIntervalSeconds(2);
        QCOMPARE(show.start(10'000), std::optional<int>(0));
        QCOMPARE(show.due(11'999), std::nullopt);
        QCOMPARE(show.due(12'000), std::optional<int>(1));
        QCOMPARE(show.nextDueMs(), std::optional<qint64>(14'000));
    }

    // Each slide is due a whole number of intervals after the start, however
    // late the previous one was shown: 100 slides at 1 s take 100 s.
    void slowDecodesDoNotDrift()
    {
        SlideSchedule show;
        show.prepare(101);
        show.setIntervalSeconds(1);
        show.start(0);
        qint64 now = 0;
        for (int slide = 1; slide <= 100; ++slide) {
            now = *show.nextDueMs() + (slide * 37) % 900; // decoding took up to 0.9 s
            QCOMPARE(show.due(now), std::optional<int>(slide));
        }
        QCOMPARE(show.nextDueMs(), std::optional<qint64>(101'000));
    }

    void fallingFarBehindSkipsTheMissedTurns()
    {
        SlideSchedule show;
        show.prepare(20);
        show.setIntervalSeconds(1);
        show.start(0);
        QCOMPARE(show.due(10'500), std::optional<int>(1));
        QCOMPARE(show.due(10'900), std::nullopt);
        QCOMPARE(show.nextDueMs(), std::optional<qint64>(11'000));
    }

    void theLastSlide_data()
    {
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<std::optional<int>>("after");
        QTest::addColumn<bool>("playing");
        QTest::newRow("without repeat the show stops on it") << false << std::optional<int>() << false;
        QTest::newRow("with repeat it goes round") << true << std::optional<int>(0) << true;
    }
    void theLastSlide()
    {
        QFETCH(bool, repeat);
        QFETCH(std::optional<int>, after);
        QFETCH(bool, playing);
        SlideSchedule show;
        show.prepare(2);
        show.setIntervalSeconds(1);
        show.setRepeat(repeat);
        show.start(0);
        QCOMPARE(show.due(1000), std::optional<int>(1));
        QCOMPARE(show.due(2000), after);
        QCOMPARE(show.isPlaying(), playing);
        QCOMPARE(show.current(), after.value_or(1));
    }

    void noIntervalNeverAdvancesButSteps_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::newRow("0") << 0;
        QTest::newRow("negative") << -5;
    }
    void noIntervalNeverAdvancesButSteps()
    {
        QFETCH(int, seconds);
        SlideSchedule show;
        show.prepare(3);
        show.setIntervalSeconds(seconds);
        QCOMPARE(show.start(0), std::optional<int>(0));
        QCOMPARE(show.nextDueMs(), std::nullopt);
        QCOMPARE(show.due(1'000'000), std::nullopt);
        QCOMPARE(show.step(Step::Next, 5), std::optional<int>(1));
    }

    void steps_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<int>("step");
        QTest::addColumn<std::optional<int>>("to");
        QTest::newRow("next") << 1 << false << int(Step::Next) << std::optional<int>(2);
        QTest::newRow("previous") << 1 << false << int(Step::Previous) << std::optional<int>(0);
        QTest::newRow("first") << 3 << false << int(Step::First) << std::optional<int>(0);
        QTest::newRow("last") << 0 << false << int(Step::Last) << std::optional<int>(3);
        QTest::newRow("next past the end") << 3 << false << int(Step::Next) << std::optional<int>();
        QTest::newRow("previous before the start") << 0 << false << int(Step::Previous) << std::optional<int>();
        QTest::newRow("next past the end, repeating") << 3 << true << int(Step::Next) << std::optional<int>(0);
        QTest::newRow("previous before the start, repeating") << 0 << true << int(Step::Previous)
                                                               << std::optional<int>(3);
    }
    void steps()
    {
        QFETCH(int, from);
        QFETCH(bool, repeat);
        QFETCH(int, step);
        QFETCH(std::optional<int>, to);
        SlideSchedule show;
        show.prepare(4);
        show.setRepeat(repeat);
        show.start(0);
        show.step(Step::Last, 0);
        show.step(Step::First, 0);
        for (int i = 0; i < from; ++i)
            show.step(Step::Next, 0);
        QCOMPARE(show.current(), from);
        QCOMPARE(show.step(Step(step), 0), to);
        QCOMPARE(show.current(), to.value_or(from));
    }

    // The slide stepped to gets its whole interval.
    void steppingWhilePlayingRestartsTheSchedule()
    {
        SlideSchedule show;
        show.prepare(5);
        show.setIntervalSeconds(3);
        show.start(0);
        QCOMPARE(show.step(Step::Next, 2'500), std::optional<int>(1));
        QCOMPARE(show.due(3'000), std::nullopt);
        QCOMPARE(show.due(5'500), std::optional<int>(2));
    }

    void pauseKeepsTheSlideAndEndForgetsIt()
    {
        SlideSchedule show;
        show.prepare(5);
        show.setIntervalSeconds(1);
        show.start(0);
        show.due(1000);
        show.pause();
        QCOMPARE(show.due(50'000), std::nullopt);
        QCOMPARE(show.current(), 1);
        show.end();
        QCOMPARE(show.current(), -1);
        QVERIFY(!show.isPlaying());
    }

    void anEmptyShowShowsNothing()
    {
        SlideSchedule show;
        show.prepare(0);
        QCOMPARE(show.start(0), std::nullopt);
        QVERIFY(!show.isPlaying());
        QCOMPARE(show.step(Step::First, 0), std::nullopt);
        QCOMPARE(show.due(10'000), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestSlideSchedule)
#include "tst_slideschedule.moc"
