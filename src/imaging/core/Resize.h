#pragma once

#include <QImage>

#include "imaging/core/Codec.h" // ProgressFn, ProgressReporter

namespace imaging {

// Resamples an RGB32 image to width x height with a Lanczos-3 filter
// (a sinc windowed by a sinc over three lobes), for shrinking and enlarging
// alike. When shrinking, the filter is stretched over the source so that
// every source pixel contributes (no aliasing). Weights near the edges are
// renormalised, so borders do not darken and a flat colour stays exactly
// that colour. Output channels are rounded and clamped to 0..255.
//
// The source is not changed. Throws Error(TooLarge) when the requested size
// is empty or beyond the limits of Image.h, before anything is allocated.
// Work is split over two threads on a multi-core machine; progress is
// reported from the calling thread.
[[nodiscard]] QImage resizeImage(const QImage &source, int width, int height,
                                 const ProgressFn &progress = {});

} // namespace imaging
