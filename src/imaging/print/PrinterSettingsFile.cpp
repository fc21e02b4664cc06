#include "imaging/print/PrinterSettingsFile.h"

#include <optional>

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include "base/Error.h"

namespace imaging {

namespace {

using platform::PrinterChoice;

std::optional<QPageSize::PageSizeId> paperOf(const QString &key)
{
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto size = QPageSize::PageSizeId(id);
        if (id != QPageSize::Custom && QPageSize::key(size).compare(key, Qt::CaseInsensitive) == 0)
            return size;
    }
    return std::nullopt;
}

// Applies one line; false when it is garbled.
bool apply(PrinterChoice &choice, const QString &key, const QString &value)
{
    if (key == u"printer") {
        choice.printer = value;
    } else if (key == u"output") {
        if (value != u"printer" && value != u"pdf")
            return false;
        choice.output = value == u"pdf" ? PrinterChoice::Output::Pdf : PrinterChoice::Output::Printer;
    } else if (key == u"pdf folder") {
        choice.pdfFolder = value;
    } else if (key == u"paper") {
        const std::optional<QPageSize::PageSizeId> paper = paperOf(value);
        if (!paper)
            return false;
        choice.paper = *paper;
    } else if (key == u"orientation") {
        if (value != u"portrait" && value != u"landscape")
            return false;
        choice.orientation = value == u"landscape" ? QPageLayout::Landscape : QPageLayout::Portrait;
    }
    return true; // a key of a later version is passed over
}

} // namespace

PrinterChoice parsePrinterSettings(QByteArrayView text, const PrinterChoice &defaults)
{
    if (text.size() > kMaxPrinterSettingsBytes)
        return defaults;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(text);
    if (utf8.hasError() || decoded.contains(QChar(0)))
        return defaults;
    PrinterChoice choice = defaults;
    for (QString line : decoded.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || !apply(choice, line.left(equals).trimmed(), line.mid(equals + 1)))
            return defaults;
    }
    return choice;
}

QByteArray formatPrinterSettings(const PrinterChoice &choice)
{
    const bool pdf = choice.output == PrinterChoice::Output::Pdf;
    const QString text =
        QStringLiteral("# Morvell Image Viewer printer settings\n"
                       "output=%1\nprinter=%2\npdf folder=%3\npaper=%4\norientation=%5\n")
            .arg(pdf ? u"pdf" : u"printer", choice.printer, choice.pdfFolder, QPageSize::key(choice.paper),
                 choice.orientation == QPageLayout::Landscape ? u"landscape" : u"portrait");
    return text.toUtf8();
}

PrinterChoice readPrinterSettings(const QString &path)
{
    const PrinterChoice defaults = platform::defaultPrinterChoice();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return defaults;
    // One byte more than allowed tells an oversized file without reading it all.
    return parsePrinterSettings(file.read(kMaxPrinterSettingsBytes + 1), defaults);
}

void writePrinterSettings(const QString &path, const PrinterChoice &choice)
{
    QSaveFile file(path);
    const QByteArray text = formatPrinterSettings(choice);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw Error(Error::Kind::WriteFailed, QStringLiteral("プリンターの設定を保存できません。\n\n%1\n\n%2")
                                                  .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace imaging
