#include "imaging/widgets/Ik5Slide.h"

#include <algorithm>
#include <condition_variable>
#include <limits>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>

#include "imaging/core/ImageFolder.h"
#include "imaging/core/Thumbnails.h"
#include "platform/core/FolderPaths.h"

namespace imaging {

namespace {
constexpr int kPollMs = 15;
} // namespace

// Decodes slides one at a time on its own thread: the slide asked for, then
// the one after it, so the next is ready when it is due. A newer request
// drops the older ones still waiting; only the two slides asked for last are
// kept once decoded.
class Ik5Slide::Loader
{
public:
    Loader()
        : m_worker([this] { run(); })
    {
    }

    ~Loader()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        m_worker.join();
    }

    void ask(int slide, const QString &path, int following, const QString &followingPath, QSize box)
    {
        {
            std::lock_guard lock(m_mutex);
            m_box = box;
            m_keep = {slide, following};
            std::erase_if(m_done, [this](const auto &entry) { return !kept(entry.first); });
            m_queue.clear();
            if (!m_done.count(slide))
                m_queue.push_back({slide, path});
            if (following >= 0 && following != slide && !m_done.count(following))
                m_queue.push_back({following, followingPath});
        }
        m_changed.notify_all();
    }

    std::optional<Thumbnail> take(int slide)
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_done.find(slide);
        if (it == m_done.end())
            return std::nullopt;
        return it->second;
    }

    void waitFor(int slide)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_done.count(slide) || !kept(slide) || m_stopping; });
    }

private:
    struct Job
    {
        int slide;
        QString path;
    };

    [[nodiscard]] bool kept(int slide) const { return slide == m_keep.first || slide == m_keep.second; }

    void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_stopping)
                return;
            const Job job = m_queue.front();
            m_queue.pop_front();
            const QSize box = m_box;
            lock.unlock();
            Thumbnail made = makeThumbnail(job.path, box);
            lock.lock();
            if (kept(job.slide))
                m_done[job.slide] = std::move(made);
            m_changed.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_queue;
    std::map<int, Thumbnail> m_done;
    std::pair<int, int> m_keep{-1, -1};
    QSize m_box;
    bool m_stopping = false;
    std::thread m_worker;
};

Ik5Slide::Ik5Slide(QWidget *parent)
    : QFrame(parent)
    , m_timer(new QTimer(this))
    , m_poll(new QTimer(this))
    , m_loader(std::make_unique<Loader>())
{
    static QElapsedTimer monotonic;
    if (!monotonic.isValid())
        monotonic.start();
    m_clock = [] { return monotonic.elapsed(); };
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &Ik5Slide::tick);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &Ik5Slide::collect);
    m_schedule.setIntervalSeconds(kInitialInterval);
}

Ik5Slide::~Ik5Slide() = default;

void Ik5Slide::setInterval(qint32 seconds)
{
    m_schedule.setIntervalSeconds(seconds);
    armTimer();
}

void Ik5Slide::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void Ik5Slide::setBackColor(const QColor &color)
{
    m_backColor = color;
    update();
}

void Ik5Slide::prepare()
{
    m_listedFolder = m_folder;
    m_files = imageFilesIn(m_folder);
    m_schedule.prepare(int(m_files.size()));
    m_failuresInARow = 0;
    m_timer->stop();
}

void Ik5Slide::start()
{
    want(m_schedule.start(m_clock()));
    armTimer();
}

void Ik5Slide::pause()
{
    m_schedule.pause();
    m_timer->stop();
}

void Ik5Slide::end()
{
    m_schedule.end();
    m_timer->stop();
    m_poll->stop();
    m_wanted = -1;
    m_shown = -1;
    m_picture = QImage();
    update();
}

void Ik5Slide::next() { stepTo(SlideSchedule::Step::Next); }
void Ik5Slide::previous() { stepTo(SlideSchedule::Step::Previous); }
void Ik5Slide::first() { stepTo(SlideSchedule::Step::First); }
void Ik5Slide::last() { stepTo(SlideSchedule::Step::Last); }

void Ik5Slide::stepTo(SlideSchedule::Step step)
{
    want(m_schedule.step(step, m_clock()));
    armTimer();
}

void Ik5Slide::tick()
{
    want(m_schedule.due(m_clock()));
    armTimer();
}

void Ik5Slide::armTimer()
{
    const std::optional<qint64> due = m_schedule.nextDueMs();
    if (!due) {
        m_timer->stop();
        return;
    }
    m_timer->start(int(std::clamp<qint64>(*due - m_clock(), 0, std::numeric_limits<int>::max())));
}

QSize Ik5Slide::box() const
{
    const qreal ratio = devicePixelRatioF();
    return QSize(qRound(contentsRect().width() * ratio), qRound(contentsRect().height() * ratio));
}

QString Ik5Slide::pathOf(int slide) const
{
    return folderlists::joinFolder(m_listedFolder, m_files.at(slide));
}

void Ik5Slide::want(std::optional<int> slide)
{
    if (!slide)
        return;
    m_wanted = *slide;
    const int following = *slide + 1 < slideCount() ? *slide + 1 : (slideCount() > 1 ? 0 : -1);
    m_loader->ask(m_wanted, pathOf(m_wanted), following, following >= 0 ? pathOf(following) : QString(), box());
    collect();
    if (m_shown != m_wanted)
        m_poll->start();
}

void Ik5Slide::waitUntilShown()
{
    if (m_wanted < 0 || m_shown == m_wanted)
        return;
    m_loader->waitFor(m_wanted);
    collect();
}

void Ik5Slide::collect()
{
    if (m_wanted < 0)
        return;
    const std::optional<Thumbnail> made = m_loader->take(m_wanted);
    if (!made)
        return;
    m_poll->stop();
    m_shown = std::exchange(m_wanted, -1);
    m_picture = made->image;
    const QString name = m_files.at(m_shown);
    m_cardText = QStringLiteral("表示できません\n%1\n%2").arg(name, made->error);
    m_failuresInARow = m_picture.isNull() ? m_failuresInARow + 1 : 0;
    // A whole pass without one slide shown: the folder is gone or holds no
    // readable image. Going round again would only show the cards again.
    if (m_failuresInARow >= slideCount())
        pause();
    update();
    emit slideShown(m_shown + 1, m_listedFolder, name);
}

void Ik5Slide::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, m_backColor);
    if (m_shown < 0)
        return;
    if (m_picture.isNull()) {
        const bool dark = m_backColor.lightness() < 128;
        painter.setPen(dark ? QColor(230, 230, 230) : QColor(40, 40, 60));
        painter.drawText(area.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, m_cardText);
        return;
    }
    // Decoded at device pixels for this size; drawn at most at that size.
    QSizeF shown = QSizeF(m_picture.size()) / devicePixelRatioF();
    shown.scale(shown.boundedTo(QSizeF(area.size())), Qt::KeepAspectRatio);
    const QRectF at(area.left() + (area.width() - shown.width()) / 2, area.top() + (area.height() - shown.height()) / 2,
                    shown.width(), shown.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(at, m_picture);
}

} // namespace imaging
