#include "platform/FolderLists.h"

#include <QDir>

#include "platform/core/Volumes.h"

namespace folderlists {

namespace {

QString captionOf(const Volume &volume)
{
    return volume.label.isEmpty() ? volume.root : QStringLiteral("%1 [%2]").arg(volume.root, volume.label);
}

} // namespace

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            emit changed();
    });
    fill(QString());
}

QString DriveList::drive() const
{
    return currentData().toString();
}

QString DriveList::list(int index) const
{
    return itemData(index).toString();
}

void DriveList::refresh()
{
    fill(drive());
}

void DriveList::fill(const QString &chosenRoot)
{
    m_filling = true;
    const QList<Volume> volumes = drives();
    clear();
    for (const Volume &volume : volumes)
        addItem(captionOf(volume), volume.root);
    int chosen = findData(chosenRoot);
    if (chosen < 0)
        chosen = findData(driveOf(volumes, QDir::toNativeSeparators(QDir::currentPath())));
    setCurrentIndex(std::max(chosen, 0));
    m_filling = false;
}

} // namespace folderlists
