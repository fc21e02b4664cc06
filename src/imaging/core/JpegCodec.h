#pragma once

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QRectF>
#include <QSize>

#include "imaging/core/Codec.h"
#include "imaging/core/Image.h"

namespace imaging {

// Each scan of a progressive file is decoded over every block of the
// components it covers, so a crafted file that repeats scans keeps a decoder
// busy for minutes. Real files add up to about five passes over the whole
// image; more than this many is refused.
inline constexpr int kMaxJpegScanPasses = 64;

// Decodes a JPEG from memory into RGB32 as stored, with the EXIF orientation
// that turns it upright and its JFIF density (96 dpi when it has none).
// Grey, RGB, YCbCr, CMYK and YCCK files are read. With reduceTo (measured
// upright), decodes at the smallest DCT scale (1/8, 1/4, 1/2, 1) still at
// least that size; `filled` is then the part of the pixels the stored image
// fills. Warnings that lose no pixels (stray bytes between segments, an
// unknown JFIF revision, a broken ICC profile) are ignored; every other one
// makes the file damaged. Progress covers the decoding.
// Throws Error: Damaged (corrupt or missing data, named), TooLarge (declared
// size, checked before decoding), Unsupported (12-bit, lossless and
// hierarchical files, scans beyond kMaxJpegScanPasses, unknown colour space).
[[nodiscard]] StoredImage decodeJpeg(QByteArrayView data, std::optional<MinimumSize> reduceTo = {},
                                     const ProgressFn &progress = {});

// Size, orientation and density from the header segments alone.
[[nodiscard]] ImageInfo probeJpeg(QByteArrayView data);

// Baseline or progressive JPEG at quality 1..100 (anything else throws
// InvalidArgument), with the image's resolution as JFIF density in dpi.
[[nodiscard]] QByteArray encodeJpeg(const Image &image, int quality, bool progressive,
                                    const ProgressFn &progress = {});

// The DCT scale denominator (1, 2, 4 or 8) for a stored image of that size:
// the largest whose decoded size is still at least atLeast. atLeast is in
// stored orientation here.
[[nodiscard]] int jpegScaleFor(QSize stored, MinimumSize atLeast);

} // namespace imaging
