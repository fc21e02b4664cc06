#include "imaging/widgets/RealOpenFileDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QSplitter>
#include <QTreeView>

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

// The file list's size column in Kbyte of 1000 bytes, the unit the main
// window shows a file's size in (Qt's own column says KiB).
class KbyteSizes : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (files && index.column() == kSizeColumn && role == Qt::DisplayRole) {
            const QModelIndex source = mapToSource(index);
            if (!files->isDir(source))
                return kbyteText(files->size(source));
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int kSizeColumn = 1;
};

// Name, size, type and date wide enough for what they show.
void widenColumns(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    if (!view)
        return;
    QHeaderView *header = view->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    // The places on the left ("コンピューター", the home folder) whole too.
    if (auto *splitter = dialog.findChild<QSplitter *>(QStringLiteral("splitter")))
        splitter->setSizes({130, 630});
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

QString kbyteText(qint64 bytes)
{
    return QLocale(QLocale::Japanese).toString(static_cast<double>(bytes) / 1000.0, 'f', 1) + QStringLiteral(" Kbyte");
}

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
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setProxyModel(new KbyteSizes(&dialog));
    widenColumns(dialog);
    dialog.resize(760, 460);
    // The folder the program was started in, as the folder lists have it.
    dialog.setDirectory(lastFolder().isEmpty() ? QDir::currentPath() : lastFolder());
}

void installRealOpenFileDialog()
{
    (void)setOpenFileDialog(runOpenFileDialog);
}

} // namespace imaging
