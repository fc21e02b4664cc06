#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Which entries of a folder search the batch takes for a file type. A type
// such as "JPG(jpg)" gives two keys: A, its first three characters (JPG),
// and B, the first three of its last four (jpg). An entry is taken when its
// last three characters equal A or B exactly, letter case included and no
// dot required: a.jpg and b.JPG are taken, c.Jpg is not, a folder named
// photosjpg is. "*" and "*.*" take every entry; an empty type takes none.
namespace searchtype {

struct TypeKeys
{
    QString a;
    QString b;
};

[[nodiscard]] TypeKeys typeKeys(QStringView type);

// The entries the type takes, in their order.
[[nodiscard]] QStringList selectedEntries(const QStringList &entries, QStringView type);

} // namespace searchtype
