#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace imaging {

// One cell of a thumbnail strip: the picture fitted into the cell, or why
// the file could not be read.
struct Thumbnail
{
    QImage image; // null when the file could not be read
    QString error;
};

// Small pictures of files, kept by path, cell size and the file's
// modification time and size, so a second look at the same folder (the
// contact sheet's preview of the strip's folder) is instant. Only the small
// pictures are kept, in memory, up to a budget of bytes; the oldest go
// first. Usable from any thread.
class ThumbnailCache
{
public:
    static ThumbnailCache &instance();

    [[nodiscard]] std::optional<QImage> find(const QString &path, QSize cell) const;
    void insert(const QString &path, QSize cell, const QImage &thumbnail);
    void clear();

    [[nodiscard]] qint64 bytesHeld() const;
    void setBudget(qint64 bytes);

private:
    ThumbnailCache();
    struct State;
    std::unique_ptr<State> m_state;
};

// Thumbnails of a list of files, decoded on worker threads in the list's
// order and handed out in that order. JPEGs are decoded at the smallest DCT
// scale that still covers the cell twice over, the photo is shown upright,
// and only the thumbnail is kept. Workers stop early when cancelled; a file
// being decoded then finishes first.
//
// The builder itself belongs to the thread that made it; its workers never
// touch anything else of the program.
class ThumbnailBuilder
{
public:
    // cell is in device pixels; workers 0 means one per core.
    ThumbnailBuilder(QStringList paths, QSize cell, int workers = 0);
    ~ThumbnailBuilder(); // cancels and waits for the workers
    ThumbnailBuilder(const ThumbnailBuilder &) = delete;
    ThumbnailBuilder &operator=(const ThumbnailBuilder &) = delete;

    [[nodiscard]] int count() const;

    // The thumbnail of item index, once it is decoded; nothing once the
    // build is cancelled. A caller that must keep its window responsive
    // passes whileWaiting, which runs every few milliseconds of the wait
    // (the strip processes events there); without it the call just blocks.
    std::optional<Thumbnail> take(int index, const std::function<void()> &whileWaiting = {});

    void cancel();
    [[nodiscard]] bool isCancelled() const;

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};

// One thumbnail, decoded now on the calling thread (what the workers run).
[[nodiscard]] Thumbnail makeThumbnail(const QString &path, QSize cell);

} // namespace imaging
