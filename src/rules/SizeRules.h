#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// The size arithmetic of resizing: the quick resize panel's three rules and
// the batch window's four, computed once here. Every product of two whole
// numbers is formed in checked 32-bit arithmetic and every result rounded
// halves to even; an overflow, a NaN or an infinite value throws
// imaging::Error with the description the error log records, never
// undefined behaviour. A result below 1 pixel is not a failure here: the
// resize refuses it, and the caller skips the file.
namespace sizerules {

struct PixelSize
{
    qint32 width = 0;
    qint32 height = 0;
    friend bool operator==(const PixelSize &, const PixelSize &) = default;
};

enum class Rule {
    LongSide,  // the long side becomes n, the ratio is kept
    ShortSide, // the short side becomes n, the ratio is kept
    Free,      // width and height as given, the ratio ignored
    Kbyte,     // both sides scaled so the uncompressed image takes about t Kbyte
    Box,       // as large as fits in a box, the ratio kept
};

// The boxes a rule reads, as typed: converted at every file, so a wrong
// entry fails every file it is applied to.
struct RuleTexts
{
    Rule rule = Rule::LongSide;
    QString side;   // LongSide, ShortSide: strict, 32-bit
    QString width;  // Free: leading number, 32-bit; Box: leading number, 16-bit
    QString height; // likewise
    QString kbyte;  // Kbyte: strict, 32-bit
};

// The new size of an image of `image` pixels by the rule and its texts.
[[nodiscard]] PixelSize newSize(const RuleTexts &texts, PixelSize image);

// The rules on converted values.
[[nodiscard]] PixelSize longSideSize(PixelSize image, qint32 n);
[[nodiscard]] PixelSize shortSideSize(PixelSize image, qint32 n);
// s = sqrt(t / K); K = 0 and a negative t fail.
[[nodiscard]] PixelSize kbyteSize(PixelSize image, qint32 currentKbyte, qint32 targetKbyte);
// A square image takes the box's own proportions; images smaller than the
// box are enlarged to it.
[[nodiscard]] PixelSize boxSize(PixelSize image, qint16 boxWidth, qint16 boxHeight);

// The image's data size in Kbyte (1000 bytes), rounded: 24-bit rows padded
// to 4 bytes, as the suite's data size counts them.
[[nodiscard]] qint32 currentKbyte(PixelSize image);

// The resolution box: a leading number in whole dots per inch, 0 (none
// known) to 65535, the most a JPEG can store; anything else throws.
[[nodiscard]] qint32 resolutionDpi(QStringView text);

} // namespace sizerules
