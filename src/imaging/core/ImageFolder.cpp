#include "imaging/core/ImageFolder.h"

#include "platform/core/FolderEntries.h"

namespace imaging {

QStringList imageFilesIn(const QString &folder)
{
    static const QStringList patterns{
        QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
        QStringLiteral("*.jpe"), QStringLiteral("*.tif"), QStringLiteral("*.tiff"),
        QStringLiteral("*.pcx"), QStringLiteral("*.fpx"), QStringLiteral("*.png")};
    return folderlists::listedEntries(folder, folderlists::EntryKind::Files, patterns);
}

} // namespace imaging
