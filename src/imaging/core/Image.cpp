#include "imaging/core/Image.h"

#include "imaging/core/Error.h"

namespace imaging {

bool imageSizeAllowed(qint64 width, qint64 height)
{
    return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide
        && width * height <= kMaxPixels;
}

void checkImageSize(qint64 width, qint64 height)
{
    if (!imageSizeAllowed(width, height))
        throw Error(Error::Kind::TooLarge,
                    QStringLiteral("image size not supported: %1 x %2 (at most %3 pixels a side, %4 in all)")
                        .arg(width).arg(height).arg(kMaxSide).arg(kMaxPixels));
}

} // namespace imaging
