#include "platform/core/FolderEntries.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

namespace folderlists {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The length of the run of digits or of other characters starting at i.
qsizetype runLength(const QString &s, qsizetype i)
{
    const bool digits = isDigit(s[i]);
    qsizetype end = i;
    while (end < s.size() && isDigit(s[end]) == digits)
        ++end;
    return end - i;
}

// Two runs of digits by value: leading zeros do not count, then the longer
// run is the larger number, then digit by digit.
int compareNumbers(QStringView a, QStringView b)
{
    while (a.size() > 1 && a.front() == u'0')
        a = a.mid(1);
    while (b.size() > 1 && b.front() == u'0')
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int compareForListing(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const qsizetype m = runLength(a, i);
        const qsizetype n = runLength(b, j);
        const QStringView left = QStringView(a).mid(i, m);
        const QStringView right = QStringView(b).mid(j, n);
        const int order = isDigit(a[i]) && isDigit(b[j]) ? compareNumbers(left, right)
                                                        : left.compare(right, Qt::CaseInsensitive);
        if (order != 0)
            return order;
        i += m;
        j += n;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
}

} // namespace

bool listsBefore(const QString &a, const QString &b)
{
    return compareForListing(a, b) < 0;
}

void sortForListing(QStringList &names)
{
    std::sort(names.begin(), names.end(), listsBefore);
}

QStringList listedEntries(const QString &folder, EntryKind kind, const QStringList &patterns)
{
    if (folder.isEmpty())
        return {};
    // Without QDir::Hidden dot names stay out; without QDir::System FIFOs,
    // sockets, devices and dangling links do.
    const QDir::Filters kinds = (kind == EntryKind::Files ? QDir::Files : QDir::Dirs) | QDir::NoDotAndDotDot;
    QDir dir(folder);
    dir.setNameFilters(patterns);
    QStringList names;
    for (const QFileInfo &entry : dir.entryInfoList(kinds, QDir::Unsorted)) {
        if (kind == EntryKind::Files && !entry.isFile())
            continue;
        if (entry.fileName().startsWith(u'.'))
            continue;
        names.append(entry.fileName());
    }
    sortForListing(names);
    return names;
}

} // namespace folderlists
