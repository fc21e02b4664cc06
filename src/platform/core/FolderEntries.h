#pragma once

#include <QString>
#include <QStringList>

// What a folder shows in every list of the program: the folder lists, the
// file lists, the thumbnail strip and the slideshow. One rule for all of them.
namespace folderlists {

// The order names are listed in, as a file manager shows them: letter case
// ignored and runs of digits compared by their value, so IMG2 comes before
// IMG10. Names equal in that order fall back to a plain comparison, so the
// order is total and the same on every run.
[[nodiscard]] bool listsBefore(const QString &a, const QString &b);
void sortForListing(QStringList &names);

enum class EntryKind { Files, Folders };

// The names of a folder's entries of one kind, in listing order. Hidden
// entries (names starting with a dot) are left out. Files are regular files
// or links to them, never FIFOs, sockets, devices or dangling links, so
// nothing listed can block a reader; folders are folders or links to them.
// Patterns are wildcards ("*.jpg") compared without regard to letter case;
// none means every name. A folder that cannot be read lists nothing.
[[nodiscard]] QStringList listedEntries(const QString &folder, EntryKind kind, const QStringList &patterns = {});

} // namespace folderlists
