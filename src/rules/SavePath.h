#pragma once

#include <QString>
#include <QStringView>

// The arithmetic of the save dialog: which file a folder, a name and a
// format give, with which format code and JPEG quality.
namespace savepath {

// The formats in the order "保存" tests its buttons; plain JPEG is what is
// left when no other button is selected.
enum class Format { Bmp, Tiff, Png, ProgressiveJpeg, Jpeg };

struct FormatEntry
{
    QStringView extension; // with its dot
    int operation;         // the file control's write code
    bool takesQuality;
};

[[nodiscard]] FormatEntry formatEntry(Format format);

// The first format whose button is selected, in the order of Format.
[[nodiscard]] Format chosenFormat(bool bmp, bool tiff, bool png, bool progressiveJpeg);

// The quality buttons in the order they are tested; Custom takes the bar.
enum class Quality { Q40, Q60, Q80, Custom };
[[nodiscard]] int jpegQuality(Quality quality, int barValue);

// The name up to its first dot: my.photo.jpg -> my, scan01 -> scan01.
[[nodiscard]] QString baseName(QStringView fileName);

// folder (a separator added unless it ends in one) + base name + extension.
[[nodiscard]] QString savePath(QStringView folder, QStringView fileName, Format format);

} // namespace savepath
