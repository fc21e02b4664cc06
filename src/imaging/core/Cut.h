#pragma once

#include <span>

#include <QImage>
#include <QRect>
#include <QSize>
#include <QtGlobal>

namespace imaging {

// The part of an image that a polygon's corners select: their bounding
// rectangle in image pixels, clipped to the image. Right and bottom are
// exclusive, so the corners (L,T) (R,T) (R,B) (L,B) select R-L x B-T pixels,
// and the order of the corners does not matter. Throws Error(InvalidArgument)
// for fewer than three corners, fewer coordinates than corners, or a
// rectangle that is empty or lies wholly outside the image.
[[nodiscard]] QRect cutRectangle(std::span<const qint32> xs, std::span<const qint32> ys, qint32 count,
                                 QSize imageSize);

// A copy of that part of the image.
[[nodiscard]] QImage cutImage(const QImage &source, std::span<const qint32> xs,
                              std::span<const qint32> ys, qint32 count);

} // namespace imaging
