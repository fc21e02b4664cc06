#include "imaging/core/FittedRead.h"

#include <algorithm>
#include <cmath>

#include "base/Error.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/Resize.h"
#include "imaging/core/SafeFile.h"

namespace imaging {

namespace {

// Reading takes most of the time; one reporter keeps the two stages'
// percentages rising.
constexpr int kReadingShare = 80;

} // namespace

Image decodeImageShrunk(QByteArrayView data, QSize target, const ProgressFn &progress, int threads)
{
    checkImageSize(target.width(), target.height());
    ProgressReporter reporter(progress);
    const StoredImage stored = decodeImageStored(data, withShrinkHeadroom({target.width(), target.height(), 0}),
                                                 progressStage(reporter, 0, kReadingShare));
    const QSize storedTarget = orientationSwapsSides(stored.orientation) ? target.transposed() : target;
    const bool alreadyThatSize = stored.image.pixels.size() == storedTarget
                                 && stored.filled == QRectF(QPointF(0, 0), storedTarget);
    StoredImage small = stored;
    if (!alreadyThatSize)
        small.image.pixels = resizeImage(stored.image.pixels, stored.filled, storedTarget.width(), storedTarget.height(),
                                         progressStage(reporter, kReadingShare, 100 - kReadingShare), threads);
    Image upright = uprightOf(small);
    reporter.done();
    return upright;
}

Image readImageFileShrunk(const QString &path, QSize target, const ProgressFn &progress, int threads)
{
    checkImageSize(target.width(), target.height());
    return decodeImageShrunk(readRegularFile(path), target, progress, threads);
}

QSize fittedSize(QSize size, QSize box, bool allowEnlarge)
{
    if (size.isEmpty() || box.isEmpty())
        return {};
    if (!allowEnlarge && size.width() <= box.width() && size.height() <= box.height())
        return size;
    // The side whose ratio to the box is larger limits the image.
    const bool widthLimits = qint64(size.width()) * box.height() >= qint64(size.height()) * box.width();
    if (widthLimits)
        return {box.width(), std::max(1, int(std::lround(double(size.height()) * box.width() / size.width())))};
    return {std::max(1, int(std::lround(double(size.width()) * box.height() / size.height()))), box.height()};
}

Image decodeImageFitted(QByteArrayView data, QSize box, bool allowEnlarge, const ProgressFn &progress, int threads)
{
    checkImageSize(box.width(), box.height());
    const QSize target = fittedSize(probeImage(data).size, box, allowEnlarge);
    return decodeImageShrunk(data, target, progress, threads);
}

Image readImageFileFitted(const QString &path, QSize box, bool allowEnlarge, const ProgressFn &progress, int threads)
{
    checkImageSize(box.width(), box.height());
    return decodeImageFitted(readRegularFile(path), box, allowEnlarge, progress, threads);
}

} // namespace imaging
