#pragma once

#include <algorithm>
#include <functional>

#include <QtGlobal>

namespace imaging {

// Receives whole percentages 0..100 while a long pixel operation runs.
using ProgressFn = std::function<void(int percent)>;

// Turns "done of total" into calls of a ProgressFn: each percentage at most
// once, never backwards, so a caller that repaints or yields per call is
// called at most 101 times however large the image is. An empty function is
// simply never called.
class ProgressReporter
{
public:
    explicit ProgressReporter(const ProgressFn &progress)
        : m_progress(progress)
    {
    }

    void update(qint64 done, qint64 total)
    {
        if (total > 0)
            report(static_cast<int>(std::clamp<qint64>(done * 100 / total, 0, 100)));
    }
    void start() { report(0); }
    void finish() { report(100); }

private:
    void report(int percent)
    {
        if (percent <= m_last || !m_progress)
            return;
        m_last = percent;
        m_progress(percent);
    }

    const ProgressFn &m_progress;
    int m_last = -1;
};

} // namespace imaging
