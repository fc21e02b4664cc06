#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Pages as a person would see them, through poppler's tools: the text a
// PDF gives back, its fonts, its pages as pictures.
namespace testsupport {

// The text of every page (pdftotext), lines as laid out.
[[nodiscard]] QString pdfText(const QString &pdf);
// pdffonts' table: one line a font, with its name and whether it is embedded.
[[nodiscard]] QStringList pdfFonts(const QString &pdf);
// pdfimages -list: one line an embedded image, width and height in columns 4 and 5.
[[nodiscard]] QList<QSize> pdfImageSizes(const QString &pdf);
[[nodiscard]] int pdfPageCount(const QString &pdf);
// Page `page` (from 1) at 254 dpi: one pixel is 0.1 mm.
[[nodiscard]] QImage pdfPage(const QString &pdf, int page = 1);

// The bounding box of the pixels that are not near white, or of those
// near one colour; empty when there are none.
[[nodiscard]] QRect inkBox(const QImage &page);
[[nodiscard]] QRect colourBox(const QImage &page, QRgb colour, int tolerance = 40);

// The PDF files in a folder, by name.
[[nodiscard]] QStringList pdfsIn(const QString &folder);

} // namespace testsupport
