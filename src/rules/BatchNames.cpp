#include "rules/BatchNames.h"

#include "rules/TextRules.h"

namespace batchnames {

namespace {

constexpr qsizetype kCutLength = 4;

void requireCuttable(QStringView name)
{
    if (name.size() < kCutLength)
        textrules::throwInvalidCall();
}

} // namespace

QString outputName(QStringView entryName, savepath::Format format)
{
    requireCuttable(entryName);
    const QString stem = entryName.left(entryName.size() - kCutLength).toString();
    return (stem + savepath::formatEntry(format).extension.toString()).toLower();
}

QString withCopySuffix(QStringView name)
{
    requireCuttable(name);
    const qsizetype cut = name.size() - kCutLength;
    return name.left(cut).toString() + QStringLiteral("_1") + name.mid(cut).toString();
}

qint16 batchQuality(savepath::Quality quality, QStringView customText)
{
    if (quality != savepath::Quality::Custom)
        return static_cast<qint16>(savepath::jpegQuality(quality, 0));
    return textrules::strictInt16(customText);
}

} // namespace batchnames
