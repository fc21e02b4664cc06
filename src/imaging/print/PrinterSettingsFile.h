#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "platform/Printing.h"

// The print control's settings file: UTF-8 text, one "key=value" a line,
//   printer=<CUPS queue>         output=printer | pdf
//   pdf folder=<folder>          paper=A4 | Letter | <another page size key>
//   orientation=portrait | landscape
// Blank lines and lines starting with # are passed over, unknown keys too;
// a missing key keeps its default. A file that is not such text (not UTF-8,
// a line without "=", a value that means nothing) or that is larger than
// kMaxPrinterSettingsBytes gives the defaults whole.
namespace imaging {

inline constexpr qint64 kMaxPrinterSettingsBytes = 16 * 1024;

[[nodiscard]] platform::PrinterChoice parsePrinterSettings(QByteArrayView text,
                                                           const platform::PrinterChoice &defaults);
[[nodiscard]] QByteArray formatPrinterSettings(const platform::PrinterChoice &choice);

// The settings the file at path holds, on top of the platform's defaults;
// the defaults alone when it is missing, unreadable, garbled or oversized.
[[nodiscard]] platform::PrinterChoice readPrinterSettings(const QString &path);
// Replaces the file whole, or throws Error(WriteFailed) and leaves it as it was.
void writePrinterSettings(const QString &path, const platform::PrinterChoice &choice);

} // namespace imaging
