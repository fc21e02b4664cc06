#pragma once

#include <QString>
#include <QStringList>

namespace imaging {

// The image files of a folder, as the thumbnail strip, the slideshow and
// the contact sheet show them: regular files (or links to them) named .bmp,
// .jpg, .jpeg, .jpe, .tif, .tiff, .pcx, .fpx or .png in any letter case,
// without dot-files, in the order a file manager lists them (IMG2 before
// IMG10). Only names are read, no file is opened: a FIFO or a folder named
// x.jpg never appears. A folder that is missing, empty or unreadable gives
// an empty list, and an empty folder text is no folder (not the current one).
[[nodiscard]] QStringList imageFilesIn(const QString &folder);

} // namespace imaging
