#pragma once

#include <optional>

#include <QtGlobal>

namespace imaging {

// When a slideshow shows which slide: the order and timing of a show
// without any window, driven by the time its caller passes in (tests pass a
// clock of their own; the slideshow control passes a monotonic one).
//
// Slides are numbered 0..count-1. Starting shows the first slide at once;
// then one slide follows every interval on a steady schedule: each is due a
// whole number of intervals after the start, however long the previous one
// took to decode, so a show of 100 slides at 1 s ends 100 s after it began.
// A show that fell far behind (the machine slept) skips the missed turns
// instead of racing through them. An interval of 0 or less never advances
// by itself, but stepping works. With repeat the show goes round from the
// last slide to the first; without, it stops on the last slide.
class SlideSchedule
{
public:
    enum class Step { Next, Previous, First, Last };

    // A new show of count slides, not playing, before its first slide.
    void prepare(int count);
    [[nodiscard]] int count() const { return m_count; }

    void setIntervalSeconds(qint32 seconds) { m_intervalSeconds = seconds; }
    [[nodiscard]] qint32 intervalSeconds() const { return m_intervalSeconds; }
    void setRepeat(bool repeat) { m_repeat = repeat; }

    // Starts playing at nowMs; the slide to show at once (the first), or
    // nothing when the show has no slides.
    std::optional<int> start(qint64 nowMs);
    // Stops advancing by itself; the slide shown stays. start() goes on.
    void pause() { m_playing = false; }
    // The show is over: not playing and no slide shown.
    void end();

    // The slide a step button asks for, or nothing when there is no slide
    // to go to (past either end without repeat, or no slides). While
    // playing, the steady schedule restarts from nowMs, so the slide
    // stepped to gets its whole interval.
    std::optional<int> step(Step step, qint64 nowMs);

    // The slide that is due by nowMs, if one is. Past the last slide
    // without repeat the show stops playing.
    std::optional<int> due(qint64 nowMs);

    [[nodiscard]] bool isPlaying() const { return m_playing; }
    // When the next slide is due, while one will be.
    [[nodiscard]] std::optional<qint64> nextDueMs() const;
    // The slide shown now, or -1 before the first and after the end.
    [[nodiscard]] int current() const { return m_current; }

private:
    [[nodiscard]] qint64 intervalMs() const { return qint64(m_intervalSeconds) * 1000; }
    [[nodiscard]] std::optional<int> following(int slide) const;
    void scheduleFrom(qint64 nowMs);

    int m_count = 0;
    int m_current = -1;
    qint32 m_intervalSeconds = 3;
    bool m_repeat = false;
    bool m_playing = false;
    qint64 m_origin = 0; // the time the steady schedule counts from
    qint64 m_turns = 0;  // intervals since then that have been shown
};

} // namespace imaging
