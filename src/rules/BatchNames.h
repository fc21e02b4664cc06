#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include "rules/SavePath.h"

// How the batch names what it writes and with which JPEG quality. The
// formats, their extensions and write codes are the save dialog's
// (savepath::formatEntry): BMP 8, TIFF 13, JPEG 10, and PNG 20 for the
// command.
namespace batchnames {

// The source's file name without its last four characters (normally the
// extension and its dot), with the format's extension, the whole name in
// lower case: IMG_0001.JPG -> img_0001.jpg, Photo.JPEG -> photo..jpg.
// A name of fewer than four characters cannot be cut and throws.
[[nodiscard]] QString outputName(QStringView entryName, savepath::Format format);

// "_1" inserted before the last four characters of a name or a path:
// a.jpg -> a_1.jpg -> a_1_1.jpg. Fewer than four characters throw.
[[nodiscard]] QString withCopySuffix(QStringView name);

// The batch's JPEG quality: 40, 60, 80 or the custom text read strictly
// into 16 bits, so an empty custom text fails each JPEG it is used for. The
// encoder then refuses a value outside 1..100.
[[nodiscard]] qint16 batchQuality(savepath::Quality quality, QStringView customText);

} // namespace batchnames
