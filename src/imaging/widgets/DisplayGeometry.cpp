#include "imaging/widgets/DisplayGeometry.h"

#include <algorithm>
#include <cmath>

namespace imaging::display {

namespace {

int scaledLength(int length, double zoom)
{
    return std::max(1, static_cast<int>(std::lround(length * zoom)));
}

// A zoomed image narrower than the view is centred; a wider one starts at
// the left edge and is moved by the scroll position.
QPoint centringOffset(QSize zoomed, QSize view)
{
    return {std::max(0, (view.width() - zoomed.width()) / 2),
            std::max(0, (view.height() - zoomed.height()) / 2)};
}

double scaleX(const Layout &layout, QSize image)
{
    return double(layout.placed.width()) / image.width();
}

double scaleY(const Layout &layout, QSize image)
{
    return double(layout.placed.height()) / image.height();
}

} // namespace

double fitZoom(QSize image, QSize view)
{
    if (image.isEmpty() || view.isEmpty())
        return 1.0;
    const double across = double(view.width()) / image.width();
    const double down = double(view.height()) / image.height();
    return std::min({across, down, 1.0});
}

QSize zoomedSize(QSize image, double zoom)
{
    return {scaledLength(image.width(), zoom), scaledLength(image.height(), zoom)};
}

QPoint maxScroll(QSize zoomed, QSize view)
{
    return {std::max(0, zoomed.width() - view.width()),
            std::max(0, zoomed.height() - view.height())};
}

Layout layOut(QSize image, QSize view, double zoom, QPoint scroll)
{
    const QSize zoomed = zoomedSize(image, zoom);
    const QPoint limit = maxScroll(zoomed, view);
    const QPoint clamped(std::clamp(scroll.x(), 0, limit.x()), std::clamp(scroll.y(), 0, limit.y()));
    return {QRect(centringOffset(zoomed, view) - clamped, zoomed), clamped};
}

QPoint scrollPlacing(QSize image, QSize view, double zoom, QPointF imagePoint, QPointF viewPoint)
{
    const QSize zoomed = zoomedSize(image, zoom);
    const QPoint offset = centringOffset(zoomed, view);
    const double placedX = viewPoint.x() - imagePoint.x() * zoomed.width() / image.width();
    const double placedY = viewPoint.y() - imagePoint.y() * zoomed.height() / image.height();
    const QPoint wanted(static_cast<int>(std::lround(offset.x() - placedX)),
                        static_cast<int>(std::lround(offset.y() - placedY)));
    return layOut(image, view, zoom, wanted).scroll;
}

QPointF viewToImage(const Layout &layout, QSize image, QPointF viewPoint)
{
    return {(viewPoint.x() - layout.placed.x()) / scaleX(layout, image),
            (viewPoint.y() - layout.placed.y()) / scaleY(layout, image)};
}

QRectF imageToView(const Layout &layout, QSize image, const QRectF &imageRect)
{
    const double sx = scaleX(layout, image);
    const double sy = scaleY(layout, image);
    return {layout.placed.x() + imageRect.x() * sx, layout.placed.y() + imageRect.y() * sy,
            imageRect.width() * sx, imageRect.height() * sy};
}

QRect selectionInImage(const Layout &layout, QSize image, QPoint from, QPoint to)
{
    const QPointF a = viewToImage(layout, image, from);
    const QPointF b = viewToImage(layout, image, to);
    const auto edge = [](double value, int limit) {
        return std::clamp(static_cast<int>(std::lround(value)), 0, limit);
    };
    const int left = edge(std::min(a.x(), b.x()), image.width());
    const int right = edge(std::max(a.x(), b.x()), image.width());
    const int top = edge(std::min(a.y(), b.y()), image.height());
    const int bottom = edge(std::max(a.y(), b.y()), image.height());
    if (left >= right || top >= bottom)
        return {};
    return {left, top, right - left, bottom - top};
}

QRectF visiblePart(const Layout &layout, QSize image, QSize view)
{
    const QRectF seen(viewToImage(layout, image, QPointF(0, 0)),
                      viewToImage(layout, image, QPointF(view.width(), view.height())));
    return seen & QRectF(0, 0, image.width(), image.height());
}

QSize fittedToLongSide(QSize image, int longSide)
{
    if (image.isEmpty())
        return {longSide, longSide};
    const double zoom = double(longSide) / std::max(image.width(), image.height());
    return zoomedSize(image, zoom);
}

} // namespace imaging::display
