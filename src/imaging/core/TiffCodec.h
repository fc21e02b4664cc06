#pragma once

#include <QByteArrayView>

#include "imaging/core/Codec.h"
#include "imaging/core/Image.h"

namespace imaging {

// Decodes the first page of a TIFF from memory through libtiff into RGB32,
// as stored, with the orientation tag that turns it upright and its
// resolution (96 dpi when it has none). Whatever libtiff converts is read:
// 1 to 16 bits per sample, grey, palette, RGB, CMYK, YCbCr, with or without
// alpha (composited onto white), contiguous or planar, in strips or tiles,
// uncompressed or with any compression libtiff was built with. Strips and
// tiles are decoded one band at a time straight into the result, so the
// read holds the 8-bit image and one strip or tile.
// Throws Error: Damaged (any libtiff error, with its message: a file with a
// corrupt strip is never shown), TooLarge (declared size, or a single strip
// beyond kMaxTiffBlockBytes), Unsupported (what libtiff cannot convert).
[[nodiscard]] StoredImage decodeTiff(QByteArrayView data, const ProgressFn &progress = {});

// Size, orientation and resolution from the first directory.
[[nodiscard]] ImageInfo probeTiff(QByteArrayView data);

// The largest strip or tile libtiff may allocate while decoding.
inline constexpr qint64 kMaxTiffBlockBytes = qint64(1) << 30;

} // namespace imaging
