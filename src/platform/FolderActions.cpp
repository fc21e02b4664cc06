#include "platform/FolderActions.h"

#include <functional>

#include <QDir>
#include <QLineEdit>

#include "base/Error.h"
#include "platform/MessageBox.h"
#include "platform/core/Seams.h"
#include "platform/FolderLists.h"
#include "platform/core/FolderPaths.h"
#include "platform/core/Volumes.h"

namespace folderlists {

namespace {

using namespace platform::msgbox;

const QString kNameInUse = QStringLiteral("同じ名前のファイルかフォルダーが存在します");
const QString kEnterName = QStringLiteral("新しいディレクトリー名を入力して下さい");
const QString kNoNetworkDialog = QStringLiteral(
    "この環境にはネットワークドライブを接続する画面がありません。\n\n"
    "ネットワーク上のフォルダーは、システムやファイルマネージャーで接続（マウント）すると、"
    "ドライブの一覧に表示されます。\n"
    "（/mnt や /media の下、ファイルマネージャーで接続したものは /run/user/<番号>/gvfs の下）");

// One step of a folder creation: a failure is shown titled "Error" and the
// caller goes on with the next step.
void reportingFailure(const std::function<void()> &step)
{
    try {
        step();
    } catch (const imaging::Error &error) {
        platform::messageBox(error.description(), OkOnly, QStringLiteral("Error"));
    }
}

// Whether a directory search for newPath finds something called name, as a
// plain file or as a file or folder, letter case ignored.
bool nameInUse(const QString &name, const QString &newPath)
{
    return name.compare(firstMatch(newPath, false), Qt::CaseInsensitive) == 0
        || name.compare(firstMatch(newPath, true), Qt::CaseInsensitive) == 0;
}

void refuseName(QLineEdit *nameBox, const QString &message)
{
    platform::messageBox(message, OkOnly, QStringLiteral("Caution"));
    nameBox->setFocus();
    nameBox->clear();
}

} // namespace

QString folderOnDrive(const QString &driveRoot)
{
    const QString current = QDir::toNativeSeparators(QDir::currentPath());
    return driveOf(drives(), current) == driveRoot ? current : driveRoot;
}

void openChosenDrive(const DriveList *drives, DirList *folders)
{
    try {
        folders->setPath(folderOnDrive(drives->drive()));
    } catch (const imaging::Error &error) {
        platform::messageBox(error.description(), OkOnly, QStringLiteral("Drive Error"));
    }
}

void connectNetworkDrive(QWidget *owner, DriveList *drives)
{
    if (platform::showNetworkDriveDialog(owner) == platform::NetworkDriveResult::NotAvailable)
        platform::messageBox(kNoNetworkDialog, OkOnly | Information);
    drives->refresh();
}

void createFolderGuarded(QLineEdit *folderBox, QLineEdit *nameBox, const ListsToRefresh &lists)
{
    const QString name = nameBox->text();
    const QString newPath = joinFolder(folderBox->text(), name);
    if (nameInUse(name, newPath)) {
        refuseName(nameBox, kNameInUse);
        return;
    }
    if (name.isEmpty()) {
        refuseName(nameBox, kEnterName);
        return;
    }
    reportingFailure([&] { createFolder(newPath); });
    reportingFailure([&] { enterFolder(newPath); });
    lists.drives->refresh();
    lists.folders->refresh();
    lists.files->refresh();
    folderBox->setText(newPath);
    nameBox->clear();
}

void createFolderForSaveDialog(QLineEdit *folderBox, QLineEdit *nameBox)
{
    const QString name = nameBox->text();
    QString newPath = joinFolder(folderBox->text(), name);
    if (nameInUse(name, newPath)) {
        platform::messageBox(kNameInUse, OkOnly | Critical);
        // The existing entry becomes the target, spelled as it is on disk,
        // so a file system that tells case apart enters that very folder.
        if (!name.isEmpty())
            newPath = newPath.left(newPath.size() - fileNameOf(newPath).size()) + firstMatch(newPath, true);
    } else if (name.isEmpty()) {
        platform::messageBox(kEnterName, OkOnly | Critical);
    } else {
        reportingFailure([&] { createFolder(newPath); });
    }
    nameBox->clear();
    reportingFailure([&] { enterFolder(newPath); });
    folderBox->setText(newPath);
}

} // namespace folderlists
