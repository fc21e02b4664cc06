#pragma once

#include <QByteArrayView>

namespace imaging {

// The file formats told apart by their first bytes. The name of a file never
// decides: a PNG named .jpg is a PNG.
enum class FileFormat {
    Unknown,
    Bmp,
    Jpeg,
    Tiff,
    Png,
    Pcx,
    FlashPix, // any OLE compound file; recognised only to be refused by name
};

[[nodiscard]] FileFormat sniffFormat(QByteArrayView head);

} // namespace imaging
