#pragma once

#include <QByteArrayView>
#include <QRectF>
#include <QString>

#include "imaging/core/Codec.h"
#include "imaging/core/Image.h"

namespace imaging {

// Reading images. The format is decided by the first bytes, never by the
// name: BMP, JPEG, TIFF, PNG and PCX are read; FlashPix and everything else
// is refused as "unsupported format". Every result is RGB32, upright, with
// the file's resolution (96 dpi when it has none). Failures throw Error:
// Unsupported, Damaged, TooLarge, and for files NotFound, NotRegularFile,
// Unreadable. Progress reports whole percentages 0..100.

[[nodiscard]] Image decodeImage(QByteArrayView data, const ProgressFn &progress = {});
[[nodiscard]] Image readImageFile(const QString &path, const ProgressFn &progress = {});

// For thumbnails and downscaling: a JPEG is decoded at the smallest DCT scale
// (1/8, 1/4, 1/2) still at least atLeast; other formats are read whole.
// Resizing to the exact size is the caller's next step (readImageFileShrunk in
// Resize.h does both). A scaled size is rounded up, so when the stored size is
// not a multiple of the scale the last column or row stands for only part of
// a block: storedArea, when given, receives the part of the pixels the stored
// image fills (on the upright image; the whole image when nothing was
// reduced), and a resize that maps that area keeps the geometry exact.
[[nodiscard]] Image decodeImageReduced(QByteArrayView data, MinimumSize atLeast, const ProgressFn &progress = {},
                                       QRectF *storedArea = nullptr);
[[nodiscard]] Image readImageFileReduced(const QString &path, MinimumSize atLeast, const ProgressFn &progress = {},
                                         QRectF *storedArea = nullptr);

} // namespace imaging
