#pragma once

#include <QByteArrayView>

#include "imaging/core/Codec.h"
#include "imaging/core/Formats.h"
#include "imaging/core/Image.h"

namespace imaging {

// Decodes PNG, BMP or TIFF from memory through Qt's readers, forced to the
// sniffed format, upright by the orientation the file carries, transparency
// composited onto white. Qt returns a truncated BMP or a PNG cut before its
// end as a good image, so the file's structure is checked first.
// Throws Error: Damaged, TooLarge (declared size, checked before reading
// pixels), Unsupported (no reader for the format is installed).
[[nodiscard]] Image decodeWithQt(QByteArrayView data, FileFormat format, const ProgressFn &progress = {});

} // namespace imaging
