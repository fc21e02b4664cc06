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

// Decodes a JPEG from memory into RGB32, upright by its EXIF orientation,
// with its JFIF density (96 dpi when it has none). Grey, RGB, YCbCr, CMYK and
// YCCK files are read. With reduceTo, decodes at the smallest DCT scale
// (1/8, 1/4, 1/2, 1) still at least that size. Progress covers the decoding.
// Throws Error: Damaged (libjpeg errors and warnings: corrupt or missing
// data), TooLarge (declared size, checked before decoding), Unsupported
// (scans beyond kMaxJpegScanPasses, unknown colour space).
// storedArea, when given, receives the part of the pixels the stored image
// fills (see decodeImageReduced).
[[nodiscard]] Image decodeJpeg(QByteArrayView data, std::optional<MinimumSize> reduceTo = {},
                               const ProgressFn &progress = {}, QRectF *storedArea = nullptr);

// Baseline or progressive JPEG at quality 1..100 (anything else throws
// InvalidArgument), with the image's resolution as JFIF density in dpi.
[[nodiscard]] QByteArray encodeJpeg(const Image &image, int quality, bool progressive,
                                    const ProgressFn &progress = {});

// The DCT scale denominator (1, 2, 4 or 8) for a stored image of that size:
// the largest whose decoded size is still at least atLeast. atLeast is in
// stored orientation here.
[[nodiscard]] int jpegScaleFor(QSize stored, MinimumSize atLeast);

} // namespace imaging
