#include "platform/FolderLists.h"

#include <QDir>

#include "platform/core/FolderEntries.h"
#include "platform/core/FolderPaths.h"

namespace folderlists {

FileList::FileList(QWidget *parent)
    : QListWidget(parent)
    , m_path(currentFolderOrRoot())
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QListWidget::itemClicked, this, &FileList::clicked);
    connect(this, &QListWidget::itemDoubleClicked, this, &FileList::doubleClicked);
    refresh();
}

void FileList::setPath(const QString &path)
{
    const QString folder = openableFolder(path);
    const bool different = folder != m_path;
    m_path = folder;
    refresh();
    if (different)
        emit pathChanged();
}

void FileList::setPattern(const QString &pattern)
{
    const bool different = pattern != m_pattern;
    m_pattern = pattern;
    refresh();
    if (different)
        emit patternChanged();
}

void FileList::refresh()
{
    clear();
    addItems(listedEntries(m_path, EntryKind::Files, nameFilters()));
}

void FileList::setMultiSelect(bool multiple)
{
    setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

QString FileList::list(int index) const
{
    const QListWidgetItem *line = item(index);
    return line ? line->text() : QString();
}

bool FileList::isSelected(int index) const
{
    const QListWidgetItem *line = item(index);
    return line && line->isSelected();
}

void FileList::setSelected(int index, bool selected)
{
    if (QListWidgetItem *line = item(index))
        line->setSelected(selected);
}

// "*.*" means every file, also one without a dot in its name.
QStringList FileList::nameFilters() const
{
    QStringList filters;
    for (const QString &part : m_pattern.split(u';', Qt::SkipEmptyParts)) {
        const QString filter = part.trimmed();
        filters.append(filter == u"*.*" ? QStringLiteral("*") : filter);
    }
    if (filters.isEmpty())
        filters.append(QStringLiteral("*"));
    return filters;
}

} // namespace folderlists
