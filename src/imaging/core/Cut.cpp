#include "imaging/core/Cut.h"

#include <algorithm>

#include "base/Error.h"
#include "imaging/core/Image.h"

namespace imaging {
namespace {

[[noreturn]] void refuse(const QString &why)
{
    throw Error::of(Error::Kind::InvalidArgument, why);
}

} // namespace

QRect cutRectangle(std::span<const qint32> xs, std::span<const qint32> ys, qint32 count, QSize imageSize)
{
    if (count < 3)
        refuse(QStringLiteral("角が %1 つしかありません (3 つ以上必要です)").arg(count));
    const auto corners = static_cast<std::size_t>(count);
    if (xs.size() < corners || ys.size() < corners)
        refuse(QStringLiteral("角が %1 つなのに座標が x %2 個、y %3 個です")
                   .arg(count).arg(xs.size()).arg(ys.size()));

    const auto [left, right] = std::minmax_element(xs.begin(), xs.begin() + count);
    const auto [top, bottom] = std::minmax_element(ys.begin(), ys.begin() + count);
    // 64-bit so that clipping extreme coordinates cannot overflow.
    const qint64 clippedLeft = std::max<qint64>(*left, 0);
    const qint64 clippedTop = std::max<qint64>(*top, 0);
    const qint64 clippedRight = std::min<qint64>(*right, imageSize.width());
    const qint64 clippedBottom = std::min<qint64>(*bottom, imageSize.height());
    if (clippedRight <= clippedLeft || clippedBottom <= clippedTop)
        refuse(QStringLiteral("枠 %1,%2 - %3,%4 は %5 × %6 の画像の外にあります")
                   .arg(*left).arg(*top).arg(*right).arg(*bottom)
                   .arg(imageSize.width()).arg(imageSize.height()));
    return QRect(static_cast<int>(clippedLeft), static_cast<int>(clippedTop),
                 static_cast<int>(clippedRight - clippedLeft), static_cast<int>(clippedBottom - clippedTop));
}

QImage cutImage(const QImage &source, std::span<const qint32> xs, std::span<const qint32> ys, qint32 count)
{
    const QImage part = source.copy(cutRectangle(xs, ys, count, source.size()));
    if (part.isNull())
        throwOutOfMemory();
    return part;
}

} // namespace imaging
