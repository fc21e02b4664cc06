#pragma once

#include <QByteArrayView>

#include "imaging/core/Codec.h"
#include "imaging/core/Image.h"

namespace imaging {

// Decodes a BMP from memory into RGB32, strictly: Windows headers of every
// version and the OS/2 ones, bottom-up and top-down rows, 1, 2, 4, 8, 16,
// 24 and 32 bits, bit fields (an alpha field is composited onto white),
// RLE8 and RLE4. Every read is bounds-checked. What only the header gets
// wrong is tolerated (a wrong file size, a zero density, a pixel offset
// inside the headers); a palette index past the palette is drawn black and
// pixels a run-length file skips are white. Run-length data is validated:
// a run past its row or past the image, or data ending before the last row,
// makes the file damaged.
// Throws Error: Damaged (truncated or inconsistent data), TooLarge (declared
// size, checked before allocation), Unsupported (embedded JPEG or PNG, OS/2
// Huffman and RLE24 files, other depths and compressions).
[[nodiscard]] Image decodeBmp(QByteArrayView data, const ProgressFn &progress = {});

// Size and resolution from the headers.
[[nodiscard]] ImageInfo probeBmp(QByteArrayView data);

} // namespace imaging
