#include "platform/FolderLists.h"

#include <QDir>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include "platform/Guard.h"
#include "platform/core/FolderEntries.h"
#include "platform/core/FolderPaths.h"

namespace folderlists {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kIndentPixels = 8;

// Each line stands one step further right than the folder it lies in.
class IndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(index.data(kLevelRole).toInt() * kIndentPixels, 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }
};

// The folder and the folders it lies in, the root first.
QStringList chainOf(const QString &folder)
{
    QStringList chain;
    QDir dir(folder);
    chain.prepend(QDir::toNativeSeparators(dir.absolutePath()));
    while (dir.cdUp())
        chain.prepend(QDir::toNativeSeparators(dir.absolutePath()));
    return chain;
}

QString captionOf(const QString &folder)
{
    const QString name = QDir(folder).dirName();
    return name.isEmpty() ? folder : name;
}

} // namespace

DirList::DirList(QWidget *parent)
    : QListWidget(parent)
    , m_path(currentFolderOrRoot())
{
    setItemDelegate(new IndentDelegate(this));
    // A long name is cut short, as in the other lists; no sideways scrolling.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, &DirList::highlightedRowChanged);
    connect(this, &QListWidget::itemClicked, this, &DirList::clickedOnRow);
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) { openRow(row(item)); });
    rebuild(m_path);
}

void DirList::setPath(const QString &path)
{
    const QString folder = openableFolder(path);
    if (folder == m_path)
        return;
    m_path = folder;
    rebuild(m_path);
    emit changed();
}

void DirList::refresh()
{
    rebuild(list(listIndex()));
}

int DirList::listCount() const
{
    return count() - m_openRow - 1;
}

int DirList::listIndex() const
{
    return currentRow() - m_openRow - 1;
}

void DirList::setListIndex(int index)
{
    const int row = rowOf(index);
    if (row >= 0 && row < count())
        setCurrentRow(row);
}

QString DirList::list(int index) const
{
    const QListWidgetItem *line = item(rowOf(index));
    return line ? line->data(kPathRole).toString() : QString();
}

void DirList::rebuild(const QString &highlightedPath)
{
    m_rebuilding = true;
    clear();
    const QStringList chain = chainOf(m_path);
    const QStyle *look = style();
    for (int level = 0; level < chain.size(); ++level) {
        auto *line = new QListWidgetItem(look->standardIcon(QStyle::SP_DirOpenIcon), captionOf(chain[level]), this);
        line->setData(kPathRole, chain[level]);
        line->setData(kLevelRole, level);
    }
    m_openRow = static_cast<int>(chain.size()) - 1;
    // A folder that can no longer be read shows no subfolders.
    const QStringList subfolders = listedEntries(m_path, EntryKind::Folders);
    for (const QString &name : subfolders) {
        auto *line = new QListWidgetItem(look->standardIcon(QStyle::SP_DirClosedIcon), name, this);
        line->setData(kPathRole, joinFolder(m_path, name));
        line->setData(kLevelRole, m_openRow + 1);
    }
    int highlighted = m_openRow;
    for (int row = 0; row < count(); ++row)
        if (item(row)->data(kPathRole).toString() == highlightedPath)
            highlighted = row;
    setCurrentRow(highlighted);
    scrollToItem(item(highlighted));
    m_rebuilding = false;
}

void DirList::highlightedRowChanged()
{
    if (m_rebuilding)
        return;
    m_rowChangedByPress = true;
    emit clicked();
}

// A click on the line already highlighted is a click too.
void DirList::clickedOnRow()
{
    if (!m_rowChangedByPress)
        emit clicked();
    m_rowChangedByPress = false;
}

void DirList::mousePressEvent(QMouseEvent *event)
{
    m_rowChangedByPress = false;
    QListWidget::mousePressEvent(event);
}

void DirList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openRow(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

// Opening a line the user chose; a folder that vanished or may not be read
// is reported and the list stays where it was.
void DirList::openRow(int row)
{
    const QListWidgetItem *line = item(row);
    if (!line)
        return;
    const QString folder = line->data(kPathRole).toString();
    platform::runHandler(this, platform::WhileBusy::Ignored, [this, folder] { setPath(folder); });
}

} // namespace folderlists
