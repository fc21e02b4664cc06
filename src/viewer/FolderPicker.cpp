#include "viewer/FolderPicker.h"

#include "app/Design.h"
#include "platform/Events.h"
#include "platform/FolderActions.h"
#include "platform/Twips.h"

namespace {
constexpr int kClientWidth = 4395;
constexpr int kClientHeight = 2115;

template <typename T>
T *placed(QWidget *parent, const char *name, const QRect &twips)
{
    return design::control<T>(parent, name, twips.x(), twips.y(), twips.width(), twips.height());
}
} // namespace

FolderPicker::FolderPicker(const char *objectName, const QString &designCaption, const QString &prompt,
                           const Places &places)
{
    setObjectName(QString::fromLatin1(objectName));
    // Borderless: the caption is the design's, never shown.
    setWindowTitle(designCaption);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    platform::setClientSizeTwips(this, kClientWidth, kClientHeight);
    Drive1 = placed<folderlists::DriveList>(this, "Drive1", places.drive);
    Label1 = design::wrappedLabel(this, "Label1", prompt, places.label.x(), places.label.y(), places.label.width(),
                                  places.label.height());
    Text1 = placed<QLineEdit>(this, "Text1", places.text);
    Dir1 = placed<folderlists::DirList>(this, "Dir1", places.folders);
    platform::on(Drive1, &folderlists::DriveList::changed, this, &FolderPicker::Drive1_Change);
    platform::on(Dir1, &folderlists::DirList::changed, this, &FolderPicker::Dir1_Change);
    platform::on(Dir1, &folderlists::DirList::clicked, this, &FolderPicker::Dir1_Click);
}

void FolderPicker::Form_Load()
{
    Text1->setText(Dir1->path());
}

void FolderPicker::Drive1_Change()
{
    folderlists::openChosenDrive(Drive1, Dir1);
}

void FolderPicker::Dir1_Change()
{
    Dir1->refresh();
    Text1->setText(Dir1->list(Dir1->listIndex()));
}

void FolderPicker::Dir1_Click()
{
    Text1->setText(Dir1->list(Dir1->listIndex()));
}
