#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

// The arithmetic of the display: where an image sits in the view at a zoom
// and scroll position, and how view points map to image pixels. Every
// coordinate called "view" is relative to the top-left of the display's
// drawing area; scroll positions are in view pixels of the zoomed image.
namespace imaging::display {

// Zoom limits: beyond them a picture is either a dot or a single pixel
// larger than any screen.
inline constexpr double kMinZoom = 1.0 / 32.0;
inline constexpr double kMaxZoom = 32.0;

// The zoom that fits the image into the view keeping its aspect ratio.
// Small images are never enlarged (1.0): blown-up pixels misrepresent the
// picture, and enlarging is what the unscaled mode's zoom is for.
[[nodiscard]] double fitZoom(QSize image, QSize view);

// The image's size on screen at a zoom, at least one pixel each way.
[[nodiscard]] QSize zoomedSize(QSize image, double zoom);

// The largest scroll position: how far the zoomed image reaches beyond the view.
[[nodiscard]] QPoint maxScroll(QSize zoomed, QSize view);

// Where the whole image is drawn. A zoomed image smaller than the view is
// centred on that axis (its scroll is then always 0).
struct Layout
{
    QRect placed;  // the whole zoomed image, in view coordinates
    QPoint scroll; // the scroll position used, clamped to 0..maxScroll
};

[[nodiscard]] Layout layOut(QSize image, QSize view, double zoom, QPoint scroll);

// The scroll position (clamped) that puts imagePoint under viewPoint: used
// to keep the zoom anchor in place and to centre the view from the pan window.
[[nodiscard]] QPoint scrollPlacing(QSize image, QSize view, double zoom, QPointF imagePoint,
                                   QPointF viewPoint);

// View point -> image coordinates (not clamped; may lie outside the image).
[[nodiscard]] QPointF viewToImage(const Layout &layout, QSize image, QPointF viewPoint);
// Image rectangle -> view rectangle.
[[nodiscard]] QRectF imageToView(const Layout &layout, QSize image, const QRectF &imageRect);

// The rectangle of image pixels spanned by a drag from one view point to
// another: pointer positions are boundaries between pixels, the result is
// normalised, clamped to the image and right/bottom exclusive. A drag that
// spans no pixel gives an empty (null) rectangle.
[[nodiscard]] QRect selectionInImage(const Layout &layout, QSize image, QPoint from, QPoint to);

// The part of the image inside the view, in image coordinates.
[[nodiscard]] QRectF visiblePart(const Layout &layout, QSize image, QSize view);

// The image's aspect ratio with its long side `longSide` pixels (the pan
// window's picture); a square's sides are both `longSide`.
[[nodiscard]] QSize fittedToLongSide(QSize image, int longSide);

} // namespace imaging::display
