#include "rules/SavePath.h"

#include "imaging/core/ImageWriter.h"
#include "platform/core/FolderPaths.h"

namespace savepath {

FormatEntry formatEntry(Format format)
{
    switch (format) {
    case Format::Bmp:
        return {u".bmp", imaging::WriteBmp, false};
    case Format::Tiff:
        return {u".tif", imaging::WriteTiff, false};
    case Format::Png:
        return {u".png", imaging::WritePng, false};
    case Format::ProgressiveJpeg:
        return {u".jpg", imaging::WriteProgressiveJpeg, true};
    case Format::Jpeg:
        break;
    }
    return {u".jpg", imaging::WriteJpeg, true};
}

Format chosenFormat(bool bmp, bool tiff, bool png, bool progressiveJpeg)
{
    if (bmp)
        return Format::Bmp;
    if (tiff)
        return Format::Tiff;
    if (png)
        return Format::Png;
    if (progressiveJpeg)
        return Format::ProgressiveJpeg;
    return Format::Jpeg;
}

int jpegQuality(Quality quality, int barValue)
{
    switch (quality) {
    case Quality::Q40:
        return 40;
    case Quality::Q60:
        return 60;
    case Quality::Q80:
        return 80;
    case Quality::Custom:
        break;
    }
    return barValue;
}

QString baseName(QStringView fileName)
{
    const qsizetype dot = fileName.indexOf(u'.');
    return (dot < 0 ? fileName : fileName.left(dot)).toString();
}

QString savePath(QStringView folder, QStringView fileName, Format format)
{
    return folderlists::joinFolder(folder, baseName(fileName)) + formatEntry(format).extension.toString();
}

} // namespace savepath
