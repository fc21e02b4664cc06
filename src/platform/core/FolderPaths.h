#pragma once

#include <QString>
#include <QStringView>

// Folder paths as the folder lists, the folder box and the save dialog join
// and check them. A folder box may end in a separator (a drive root) or not;
// both "/" and the native separator count as one.
namespace folderlists {

[[nodiscard]] bool endsWithSeparator(QStringView path);

// The text after the last folder separator; a path with none is used whole,
// a path ending in a separator gives an empty name.
[[nodiscard]] QString fileNameOf(QStringView path);

// The folder with one native separator at its end: "/pics" -> "/pics/",
// "/" stays "/". An empty folder gives the bare separator.
[[nodiscard]] QString withTrailingSeparator(QStringView folder);

// folder, a separator unless it ends in one, then name.
[[nodiscard]] QString joinFolder(QStringView folder, QStringView name);

// The name a directory search for path finds first, or empty when it finds
// nothing. The name after the last separator is compared without regard to
// letter case, as on a file system that ignores case. foldersToo adds
// folders to the plain files searched. A path ending in a separator searches
// the folder itself: the first plain file in it, or "." (the folder's own
// entry) when folders count and the folder exists.
[[nodiscard]] QString firstMatch(const QString &path, bool foldersToo);

// The absolute, cleaned form of a folder that exists and can be listed.
// Throws imaging::Error naming the folder and the system's reason otherwise.
[[nodiscard]] QString openableFolder(const QString &path);

// The process's current folder as openableFolder gives it, or the root when
// the current folder can no longer be listed (it was removed).
[[nodiscard]] QString currentFolderOrRoot();

// Creates one folder (its parent must exist). Throws imaging::Error naming
// the folder and the reason, also when something of that name exists.
void createFolder(const QString &path);

// Makes path the process's current folder, or throws imaging::Error.
void enterFolder(const QString &path);

} // namespace folderlists
