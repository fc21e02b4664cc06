#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// What the folder-picking windows do with their lists, written once: the
// drive change with its "Drive Error" message, the network-drive button and
// the two kinds of folder creation.
namespace folderlists {

class DriveList;
class DirList;
class FileList;

// The folder a drive opens at: the current folder when it lies on that
// drive, else the drive's root.
[[nodiscard]] QString folderOnDrive(const QString &driveRoot);

// A drive was chosen: the folder list opens that drive (and runs its Change).
// When the drive cannot be opened, a box titled "Drive Error" shows the
// reason; the folder list keeps its folder and the drive list its choice.
void openChosenDrive(const DriveList *drives, DirList *folders);

// The network-drive button: the system's dialog for connecting a network
// drive, owned by owner; its outcome does not matter. Where there is no such
// dialog, one message says where mounted network folders appear instead.
// The drive list is read again in every case.
void connectNetworkDrive(QWidget *owner, DriveList *drives);

// Folder creation of the batch output window. A name already used by a file
// or folder (letter case ignored) or an empty name is refused with a
// "Caution" box, the name box emptied and focused. Otherwise the folder is
// created and entered (each failure reported in an "Error" box, the steps
// going on), the lists read again (the folder list stays where it is), the
// folder box set to the new folder and the name box emptied.
struct ListsToRefresh
{
    DriveList *drives;
    DirList *folders;
    FileList *files;
};
void createFolderGuarded(QLineEdit *folderBox, QLineEdit *nameBox, const ListsToRefresh &lists);

// Folder creation of the save dialog. A used or empty name gets a critical
// box instead of the folder being created; in every case the name box is
// emptied, the new path entered as the current folder (a failure reported in
// an "Error" box) and put into the folder box. So a name that exists as a
// folder makes that folder the target.
void createFolderForSaveDialog(QLineEdit *folderBox, QLineEdit *nameBox);

} // namespace folderlists
