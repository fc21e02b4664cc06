#pragma once

#include <QByteArrayView>
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
// Resizing to the exact size is the caller's next step.
[[nodiscard]] Image decodeImageReduced(QByteArrayView data, MinimumSize atLeast, const ProgressFn &progress = {});
[[nodiscard]] Image readImageFileReduced(const QString &path, MinimumSize atLeast, const ProgressFn &progress = {});

} // namespace imaging
