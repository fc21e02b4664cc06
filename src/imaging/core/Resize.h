#pragma once

#include <QImage>
#include <QRectF>

#include "imaging/core/Codec.h" // ProgressFn, ProgressReporter
#include "imaging/core/Image.h"

namespace imaging {

// Resamples an RGB32 image to width x height with a Lanczos-3 filter
// (a sinc windowed by a sinc over three lobes), for shrinking and enlarging
// alike. When shrinking, the filter is stretched over the source so that
// every source pixel contributes (no aliasing). Weights near the edges are
// renormalised, so borders do not darken and a flat colour stays exactly
// that colour. Output channels are rounded and clamped to 0..255.
//
// The source is not changed. Throws Error(TooLarge) when the requested size
// is beyond the limits of Image.h, Error(InvalidArgument) when it is empty,
// before anything is allocated.
// Work is split over `threads` threads, the calling one among them; by
// default two on a multi-core machine. A worker of a pool passes 1. Progress
// is reported from the calling thread; a callback that throws (a cancel)
// stops the other threads too.
inline constexpr int kDefaultResizeThreads = 0;
[[nodiscard]] QImage resizeImage(const QImage &source, int width, int height,
                                 const ProgressFn &progress = {}, int threads = kDefaultResizeThreads);

// The same filter mapping `area` of the source, in source pixels, onto the
// whole target; pixels just outside the area still feed the kernel where
// they exist. A reduced JPEG read whose last column or row stands for only
// part of a block passes the area the stored image fills, so nothing is
// stretched. Throws Error(InvalidArgument) when the area is empty or not
// inside the source.
[[nodiscard]] QImage resizeImage(const QImage &source, const QRectF &area, int width, int height,
                                 const ProgressFn &progress = {}, int threads = kDefaultResizeThreads);

} // namespace imaging
