#include "imaging/core/Thumbnails.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include <QFileInfo>
#include <QHash>

#include "base/Error.h"
#include "imaging/core/FittedRead.h"

namespace imaging {

// ---- cache ----------------------------------------------------------------

namespace {

constexpr qint64 kDefaultCacheBudget = 128ll * 1024 * 1024;

// A file is the same file while its modification time and size are.
QString cacheKey(const QString &path, QSize cell)
{
    const QFileInfo info(path);
    return QStringLiteral("%1|%2x%3|%4|%5")
        .arg(info.absoluteFilePath())
        .arg(cell.width())
        .arg(cell.height())
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(info.size());
}

qint64 bytesOf(const QImage &image)
{
    return image.sizeInBytes();
}

} // namespace

struct ThumbnailCache::State
{
    mutable std::mutex mutex;
    std::list<std::pair<QString, QImage>> entries; // newest first
    std::unordered_map<QString, std::list<std::pair<QString, QImage>>::iterator> index;
    qint64 bytes = 0;
    qint64 budget = kDefaultCacheBudget;

    void trim()
    {
        while (bytes > budget && !entries.empty()) {
            bytes -= bytesOf(entries.back().second);
            index.erase(entries.back().first);
            entries.pop_back();
        }
    }
};

ThumbnailCache::ThumbnailCache()
    : m_state(std::make_unique<State>())
{
}

ThumbnailCache &ThumbnailCache::instance()
{
    static ThumbnailCache cache;
    return cache;
}

std::optional<QImage> ThumbnailCache::find(const QString &path, QSize cell) const
{
    const QString key = cacheKey(path, cell);
    std::lock_guard lock(m_state->mutex);
    const auto it = m_state->index.find(key);
    if (it == m_state->index.end())
        return std::nullopt;
    m_state->entries.splice(m_state->entries.begin(), m_state->entries, it->second);
    return it->second->second;
}

void ThumbnailCache::insert(const QString &path, QSize cell, const QImage &thumbnail)
{
    const QString key = cacheKey(path, cell);
    std::lock_guard lock(m_state->mutex);
    if (const auto it = m_state->index.find(key); it != m_state->index.end()) {
        m_state->bytes -= bytesOf(it->second->second);
        m_state->entries.erase(it->second);
        m_state->index.erase(it);
    }
    m_state->entries.emplace_front(key, thumbnail);
    m_state->index[key] = m_state->entries.begin();
    m_state->bytes += bytesOf(thumbnail);
    m_state->trim();
}

void ThumbnailCache::clear()
{
    std::lock_guard lock(m_state->mutex);
    m_state->entries.clear();
    m_state->index.clear();
    m_state->bytes = 0;
}

qint64 ThumbnailCache::bytesHeld() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->bytes;
}

void ThumbnailCache::setBudget(qint64 bytes)
{
    std::lock_guard lock(m_state->mutex);
    m_state->budget = bytes;
    m_state->trim();
}

// ---- one thumbnail --------------------------------------------------------

Thumbnail makeThumbnail(const QString &path, QSize cell)
{
    if (std::optional<QImage> cached = ThumbnailCache::instance().find(path, cell))
        return {*cached, {}};
    try {
        // One resizing thread: the builder runs a worker per core already.
        QImage picture = readImageFileFitted(path, cell, false, {}, 1).pixels;
        ThumbnailCache::instance().insert(path, cell, picture);
        return {std::move(picture), {}};
    } catch (const Error &error) {
        return {QImage(), error.description()};
    } catch (const std::bad_alloc &) {
        return {QImage(), outOfMemory().description()};
    }
}

// ---- builder --------------------------------------------------------------

struct ThumbnailBuilder::Shared
{
    QStringList paths;
    QSize cell;
    std::mutex mutex;
    std::condition_variable done;
    std::vector<std::optional<Thumbnail>> results;
    std::atomic<int> next{0};
    std::atomic<bool> cancelled{false};
    std::vector<std::thread> workers;

    void work()
    {
        for (;;) {
            const int index = next.fetch_add(1);
            if (index >= paths.size() || cancelled.load())
                return;
            // at(), not []: a non-const [] would detach the shared list from two
            // threads at once.
            Thumbnail made = makeThumbnail(paths.at(index), cell);
            {
                std::lock_guard lock(mutex);
                results[std::size_t(index)] = std::move(made);
            }
            done.notify_all();
        }
    }
};

ThumbnailBuilder::ThumbnailBuilder(QStringList paths, QSize cell, int workers)
    : m_shared(std::make_shared<Shared>())
{
    m_shared->paths = std::move(paths);
    m_shared->cell = cell;
    m_shared->results.resize(std::size_t(m_shared->paths.size()));
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const int count = std::min(workers > 0 ? workers : cores, int(m_shared->paths.size()));
    for (int i = 0; i < count; ++i)
        m_shared->workers.emplace_back([shared = m_shared] { shared->work(); });
}

ThumbnailBuilder::~ThumbnailBuilder()
{
    cancel();
    for (std::thread &worker : m_shared->workers)
        worker.join();
}

int ThumbnailBuilder::count() const
{
    return int(m_shared->paths.size());
}

std::optional<Thumbnail> ThumbnailBuilder::take(int index, const std::function<void()> &whileWaiting)
{
    if (index < 0 || index >= count())
        return std::nullopt;
    constexpr auto kSlice = std::chrono::milliseconds(10);
    std::unique_lock lock(m_shared->mutex);
    auto &slot = m_shared->results[std::size_t(index)];
    while (!slot && !m_shared->cancelled.load()) {
        if (!whileWaiting) {
            m_shared->done.wait(lock, [&] { return slot.has_value() || m_shared->cancelled.load(); });
            break;
        }
        if (m_shared->done.wait_for(lock, kSlice, [&] { return slot.has_value(); }))
            break;
        lock.unlock();
        whileWaiting();
        lock.lock();
    }
    if (!slot || m_shared->cancelled.load())
        return std::nullopt;
    return std::exchange(slot, std::nullopt);
}

void ThumbnailBuilder::cancel()
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->cancelled.store(true);
    }
    m_shared->done.notify_all();
}

bool ThumbnailBuilder::isCancelled() const
{
    return m_shared->cancelled.load();
}

} // namespace imaging
