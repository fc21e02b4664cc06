#pragma once

#include <QByteArrayView>

#include "imaging/core/Codec.h"
#include "imaging/core/Image.h"

namespace imaging {

// Decodes a PCX file from memory into RGB32: 1 bit in 1 to 4 planes (2 or
// 16 colours from the header palette), 4 bits packed (16 colours), 8 bits
// with the 256-colour palette at the end, and 24 bits as three 8-bit planes;
// run-length encoded or plain. Every read is bounds-checked.
// Throws Error: Damaged (truncated data, missing palette, inconsistent
// header), TooLarge (declared window, checked before allocation),
// Unsupported (other plane and depth combinations).
[[nodiscard]] Image decodePcx(QByteArrayView data);

// Size and resolution from the header.
[[nodiscard]] ImageInfo probePcx(QByteArrayView data);

} // namespace imaging
