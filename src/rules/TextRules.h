#pragma once

#include <optional>

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include "platform/core/FolderPaths.h"

// The text and number rules every window shares: how a text box is read as a
// number, how numbers are rounded, range-checked and written back as text.
// Range and overflow failures throw imaging::Error with the description the
// user sees.
namespace textrules {

// Reads the longest number at the start of a text, as a text box value is
// read: blanks anywhere are ignored; an optional sign, digits with at most
// one point and an optional exponent (E or D) are taken up to the first
// character that does not fit; "&H" and "&O" start a hexadecimal or octal
// integer. A text that does not start with a number gives 0.
[[nodiscard]] double leadingNumber(QStringView text);

// The whole text (blanks around it allowed) must be one number; else nothing.
[[nodiscard]] std::optional<double> strictNumber(QStringView text);

// Nearest integer, halves to the even neighbour: 0.5 -> 0, 1.5 and 2.5 -> 2.
[[nodiscard]] double roundHalfEven(double value);

// Rounded (halves to even) into a 16- or 32-bit integer; throws on overflow.
[[nodiscard]] qint16 toInt16(double value);
[[nodiscard]] qint32 toInt32(double value);

// 32-bit signed product; throws on overflow.
[[nodiscard]] qint32 multiply32(qint32 a, qint32 b);

// The shortest plain decimal form (no exponent, no trailing zeros) of a value
// held to 15 significant digits: 1.5, 2, 0.999, -0.25.
[[nodiscard]] QString formatNumber(double value);

// The text after the last folder separator (one rule with the folder lists).
using folderlists::fileNameOf;

} // namespace textrules
