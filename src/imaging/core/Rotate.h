#pragma once

#include <QImage>
#include <QRgb>
#include <QSize>

#include "imaging/core/Codec.h" // ProgressFn, ProgressReporter

namespace imaging {

// Turns an RGB32 image by quarterTurns x 90 degrees clockwise (any integer;
// 4 turns is the image itself). Exact: pixels are moved, never resampled.
[[nodiscard]] QImage turnImage(const QImage &source, int quarterTurns);

// Mirrors left-right (horizontal) and/or top-bottom (vertical). Exact.
[[nodiscard]] QImage mirrorImage(const QImage &source, bool horizontal, bool vertical);

// The canvas that holds a width x height image turned by any angle: the
// bounding box of the turned rectangle, rounded up to whole pixels.
[[nodiscard]] QSize turnedCanvasSize(int width, int height, double clockwiseDegrees);

// Turns an RGB32 image clockwise by any angle onto the canvas of
// turnedCanvasSize, centred, with bilinear sampling; canvas corners that no
// source pixel covers get `fill`, and the image's border blends into it.
// Throws Error(TooLarge) when that canvas is beyond the limits of Image.h.
[[nodiscard]] QImage rotateImage(const QImage &source, double clockwiseDegrees, QRgb fill,
                                 const ProgressFn &progress = {});

} // namespace imaging
