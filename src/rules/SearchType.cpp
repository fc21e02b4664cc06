#include "rules/SearchType.h"

namespace searchtype {

TypeKeys typeKeys(QStringView type)
{
    return {type.left(3).toString(), type.right(4).left(3).toString()};
}

QStringList selectedEntries(const QStringList &entries, QStringView type)
{
    if (type == u"*" || type == u"*.*")
        return entries;
    const TypeKeys keys = typeKeys(type);
    QStringList selected;
    for (const QString &entry : entries) {
        const QStringView ending = QStringView(entry).right(3);
        if (ending == keys.a || ending == keys.b)
            selected.append(entry);
    }
    return selected;
}

} // namespace searchtype
