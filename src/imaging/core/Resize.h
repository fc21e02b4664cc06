#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

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
// is empty or beyond the limits of Image.h, before anything is allocated.
// Work is split over two threads on a multi-core machine; progress is
// reported from the calling thread.
[[nodiscard]] QImage resizeImage(const QImage &source, int width, int height,
                                 const ProgressFn &progress = {});

// The same filter mapping `area` of the source, in source pixels, onto the
// whole target; pixels just outside the area still feed the kernel where
// they exist. A reduced JPEG read whose last column or row stands for only
// part of a block passes the area the stored image fills, so nothing is
// stretched. Throws Error(InvalidArgument) when the area is empty or not
// inside the source.
[[nodiscard]] QImage resizeImage(const QImage &source, const QRectF &area, int width, int height,
                                 const ProgressFn &progress = {});

// Reads an image shrunk (or enlarged) to exactly target: a JPEG is decoded
// at the smallest DCT scale still kShrinkHeadroom times the target (see
// Codec.h), then resampled with the filter above over the area the stored
// image fills. The resolution is the file's. Throws what the readers throw,
// and Error(TooLarge) for a target beyond the limits of Image.h. Progress
// covers reading and resampling.
[[nodiscard]] Image decodeImageShrunk(QByteArrayView data, QSize target, const ProgressFn &progress = {});
[[nodiscard]] Image readImageFileShrunk(const QString &path, QSize target, const ProgressFn &progress = {});

} // namespace imaging
