#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include "imaging/core/Codec.h"
#include "imaging/core/Image.h"

namespace imaging {

// Decodes a PNG from memory through libpng into RGB32, as stored (with the
// orientation of an eXIf chunk) and with the resolution of pHYs (96 dpi when
// it has none). Every depth and colour type is read; 16-bit and palette rows
// become 8 bits per channel row by row as they are decoded, so the only
// image held is the 8-bit result; transparency is composited onto white.
// The declared size is checked, and so is whether the compressed data could
// hold that many pixels at all, before the image is allocated. Text, profile
// and other ancillary chunks we have no use for are skipped unread.
// Throws Error: Damaged (bad checksums, corrupt or truncated data, with
// libpng's message), TooLarge (declared size).
[[nodiscard]] StoredImage decodePng(QByteArrayView data, const ProgressFn &progress = {});

// Size, orientation and resolution from the chunks before the image data.
[[nodiscard]] ImageInfo probePng(QByteArrayView data);

// 8-bit RGB, with the resolution as pHYs in pixels per metre. Throws
// Error(InvalidHandle) for an image without pixels, Error(TooLarge) when
// memory runs out.
[[nodiscard]] QByteArray encodePng(const Image &image, const ProgressFn &progress = {});

} // namespace imaging
