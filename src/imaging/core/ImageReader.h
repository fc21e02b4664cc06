#pragma once

#include <optional>

#include <QByteArrayView>
#include <QString>

#include "imaging/core/Codec.h"
#include "imaging/core/Image.h"

namespace imaging {

// Reading images. The format is decided by the first bytes, never by the
// name: BMP, JPEG, TIFF, PNG and PCX are read, each by a reader of its own
// (libjpeg-turbo, libpng, libtiff, and ours for BMP and PCX); FlashPix and
// everything else is refused as unsupported. Every result is RGB32, upright,
// with the file's resolution (96 dpi when it has none). Failures throw Error:
// Unsupported, Damaged, TooLarge, Cancelled (see Codec.h), and for files
// NotFound, NotRegularFile, Unreadable. Progress reports whole percentages
// 0..100.

[[nodiscard]] Image decodeImage(QByteArrayView data, const ProgressFn &progress = {});
[[nodiscard]] Image readImageFile(const QString &path, const ProgressFn &progress = {});

// For thumbnails and downscaling: a JPEG is decoded at the smallest DCT scale
// (1/8, 1/4, 1/2) still at least atLeast; other formats are read whole.
// Resizing to the exact size is the caller's next step: FittedRead.h does
// both, and should be what callers use.
[[nodiscard]] Image decodeImageReduced(QByteArrayView data, MinimumSize atLeast, const ProgressFn &progress = {});
[[nodiscard]] Image readImageFileReduced(const QString &path, MinimumSize atLeast, const ProgressFn &progress = {});

// The pixels as stored, before turning upright, for a caller who resizes
// first and turns the small result (FittedRead.h).
[[nodiscard]] StoredImage decodeImageStored(QByteArrayView data, std::optional<MinimumSize> reduceTo,
                                            const ProgressFn &progress = {});

// Format, upright size and resolution from the header alone, without
// decoding pixels. A file is mapped, not read: only the pages its header
// lies in are touched. Throws what the readers throw for the header.
[[nodiscard]] ImageInfo probeImage(QByteArrayView data);
[[nodiscard]] ImageInfo probeImageFile(const QString &path);

} // namespace imaging
