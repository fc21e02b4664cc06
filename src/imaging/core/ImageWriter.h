#pragma once

#include <QByteArray>
#include <QString>

#include "imaging/core/Codec.h"
#include "imaging/core/Image.h"

namespace imaging {

// The file operations of the suite (Ik5File's operation): 0 reads, the
// others write that format.
enum FileOperation : int {
    ReadFile = 0,
    WriteBmp = 8,            // 24-bit, uncompressed
    WriteJpeg = 10,          // baseline
    WriteProgressiveJpeg = 11,
    WriteTiff = 13,          // 24-bit RGB, LZW
    WritePng = 20,
};

// The image encoded in memory, its resolution stored in the file (BMP and
// PNG in pixels per metre, TIFF per inch or centimetre, JPEG as JFIF dots per
// inch). quality (1..100) matters for the JPEG operations only.
// Throws Error: InvalidArgument (not a write operation, quality out of range
// for JPEG), InvalidHandle (no pixels), WriteFailed (the encoder failed).
[[nodiscard]] QByteArray encodeImage(const Image &image, int operation, int quality,
                                     const ProgressFn &progress = {});

// Encodes, then replaces the file at path all or nothing (see
// writeFileAtomically): on failure the old file stays as it was.
void writeImageFile(const QString &path, const Image &image, int operation, int quality,
                    const ProgressFn &progress = {});

} // namespace imaging
