#pragma once

#include <functional>

#include <QString>
#include <QStringList>

// The batch window's folder search over a whole tree, without a window.
namespace batch {

struct SearchEvents
{
    // A folder that could not be opened or listed; the search goes on with
    // the folders after it. The window shows the description under the
    // title "エラー", the command prints it.
    std::function<void(const QString &folder, const QString &description)> folderFailed;
    // After each folder's own entries are listed: the window yields to its
    // event loop here.
    std::function<void()> folderListed;
};

// Every entry of the tree under start, as full paths: each folder's own
// entries first (files and subfolders, in listing order, subfolders as
// paths without a trailing separator), then the contents of its subfolders
// in that order. Hidden entries are left out; FIFOs, sockets, devices and
// dangling links are skipped without being opened. A link to a folder is
// listed but not entered, and a folder reached twice (a bind mount of one
// of its own parents) is entered once, so no tree makes the walk endless.
// The walk keeps its own stack, so the depth of a tree is bounded only by
// the length of a path the system accepts.
[[nodiscard]] QStringList searchFolder(const QString &start, const SearchEvents &events = {});

} // namespace batch
