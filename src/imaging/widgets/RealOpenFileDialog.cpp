#include "imaging/widgets/RealOpenFileDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "imaging/core/FileDialogSeam.h"

namespace imaging {

namespace {

// Every extension a file of the type may carry.
QStringList extensionsOf(const QString &type)
{
    const QString upper = type.trimmed().toUpper();
    if (upper == QLatin1String("JPG") || upper == QLatin1String("JPEG"))
        return {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("jpe")};
    if (upper == QLatin1String("TIF") || upper == QLatin1String("TIFF"))
        return {QStringLiteral("tif"), QStringLiteral("tiff")};
    if (upper.isEmpty())
        return {};
    return {upper.toLower()};
}

QString &lastFolder()
{
    static QString folder;
    return folder;
}

QString runOpenFileDialog(const QString &typeList)
{
    QFileDialog dialog(QApplication::activeWindow());
    configureOpenFileDialog(dialog, typeList);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder() = QFileInfo(path).absolutePath();
    return QDir::toNativeSeparators(path);
}

} // namespace

QStringList openFileFilters(const QString &typeList)
{
    QStringList patterns;
    for (const QString &type : typeList.split(QLatin1Char(';'))) {
        for (const QString &extension : extensionsOf(type)) {
            const QString pattern = QStringLiteral("*.") + extension;
            if (!patterns.contains(pattern))
                patterns << pattern;
        }
    }
    const QString allFiles = QStringLiteral("すべてのファイル (*)");
    if (patterns.isEmpty())
        return {allFiles};
    return {QStringLiteral("画像ファイル (%1)").arg(patterns.join(QLatin1Char(' '))), allFiles};
}

void configureOpenFileDialog(QFileDialog &dialog, const QString &typeList)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("ファイルを開く"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(openFileFilters(typeList));
    dialog.setDirectory(lastFolder().isEmpty() ? QDir::homePath() : lastFolder());
}

void installRealOpenFileDialog()
{
    (void)setOpenFileDialog(runOpenFileDialog);
}

} // namespace imaging
