#pragma once

#include <QByteArrayView>
#include <QImage>

namespace imaging {

// EXIF orientation values: how the stored pixels must be turned to show
// upright. 1 is already upright; 5 to 8 swap width and height.
inline constexpr int kUpright = 1;

// The orientation an APP1 segment's payload ("Exif\0\0" and a TIFF block)
// gives in IFD0, or kUpright when it names none, names an invalid value or is
// malformed. Every offset is checked against the payload.
[[nodiscard]] int exifOrientation(QByteArrayView app1Payload);
// The same for a bare TIFF block, as a PNG's eXIf chunk holds it.
[[nodiscard]] int tiffBlockOrientation(QByteArrayView block);

[[nodiscard]] bool orientationSwapsSides(int orientation);

// The stored pixels turned upright; values outside 2..8 leave them as they are.
[[nodiscard]] QImage applyOrientation(const QImage &stored, int orientation);

} // namespace imaging
