#include "imaging/core/SlideSchedule.h"

namespace imaging {

void SlideSchedule::prepare(int count)
{
    m_count = count > 0 ? count : 0;
    m_current = -1;
    m_playing = false;
}

std::optional<int> SlideSchedule::start(qint64 nowMs)
{
    if (m_count == 0) {
        m_playing = false;
        return std::nullopt;
    }
    m_current = 0;
    m_playing = true;
    scheduleFrom(nowMs);
    return m_current;
}

void SlideSchedule::end()
{
    m_playing = false;
    m_current = -1;
}

std::optional<int> SlideSchedule::following(int slide) const
{
    if (slide + 1 < m_count)
        return slide + 1;
    if (m_repeat && m_count > 0)
        return 0;
    return std::nullopt;
}

std::optional<int> SlideSchedule::step(Step step, qint64 nowMs)
{
    if (m_count == 0)
        return std::nullopt;
    std::optional<int> target;
    switch (step) {
    case Step::First:
        target = 0;
        break;
    case Step::Last:
        target = m_count - 1;
        break;
    case Step::Next:
        target = following(m_current);
        break;
    case Step::Previous:
        if (m_current > 0)
            target = m_current - 1;
        else if (m_repeat)
            target = m_count - 1;
        break;
    }
    if (!target)
        return std::nullopt;
    m_current = *target;
    if (m_playing)
        scheduleFrom(nowMs);
    return m_current;
}

std::optional<int> SlideSchedule::due(qint64 nowMs)
{
    const std::optional<qint64> dueAt = nextDueMs();
    if (!dueAt || nowMs < *dueAt)
        return std::nullopt;
    // Every turn missed beyond this one is skipped, not shown in a burst.
    m_turns = (nowMs - m_origin) / intervalMs();
    const std::optional<int> next = following(m_current);
    if (!next) {
        m_playing = false;
        return std::nullopt;
    }
    m_current = *next;
    return m_current;
}

std::optional<qint64> SlideSchedule::nextDueMs() const
{
    if (!m_playing || m_intervalSeconds <= 0)
        return std::nullopt;
    return m_origin + (m_turns + 1) * intervalMs();
}

void SlideSchedule::scheduleFrom(qint64 nowMs)
{
    m_origin = nowMs;
    m_turns = 0;
}

} // namespace imaging
