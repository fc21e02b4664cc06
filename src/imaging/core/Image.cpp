#include "imaging/core/Image.h"

#include "base/Error.h"

#include <cstdlib>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

namespace imaging {

namespace {

constexpr qsizetype kHugePage = qsizetype(2) << 20;

QImage tryAllocateImage(int width, int height)
{
    const qsizetype bytesPerLine = qsizetype(width) * 4;
    const qsizetype bytes = bytesPerLine * height;
    if (width < 1 || height < 1 || bytes < kHugePage)
        return QImage(width, height, QImage::Format_RGB32);
    const qsizetype rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void *memory = std::aligned_alloc(static_cast<std::size_t>(kHugePage), static_cast<std::size_t>(rounded));
    if (!memory)
        return QImage();
#if defined(Q_OS_LINUX)
    madvise(memory, static_cast<std::size_t>(rounded), MADV_HUGEPAGE);
#endif
    return QImage(static_cast<uchar *>(memory), width, height, bytesPerLine, QImage::Format_RGB32,
                  [](void *buffer) { std::free(buffer); }, memory);
}

} // namespace

QImage allocateImage(int width, int height)
{
    QImage pixels = tryAllocateImage(width, height);
    if (pixels.isNull())
        throwOutOfMemory();
    return pixels;
}

Error outOfMemory()
{
    return Error::of(Error::Kind::TooLarge, QStringLiteral("メモリが足りません"));
}

void throwOutOfMemory()
{
    throw outOfMemory();
}

bool imageSizeAllowed(qint64 width, qint64 height)
{
    return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide
        && width * height <= kMaxPixels;
}

void checkImageSize(qint64 width, qint64 height)
{
    if (imageSizeAllowed(width, height))
        return;
    const QString size = QStringLiteral("%1 × %2").arg(width).arg(height);
    throw Error::of(width < 1 || height < 1 ? Error::Kind::InvalidArgument : Error::Kind::TooLarge, size);
}

} // namespace imaging
