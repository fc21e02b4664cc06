#include "platform/core/FolderEntries.h"

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <QRegularExpression>

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

// Wildcard patterns compared without regard to letter case. "*.jpg", the
// usual kind, is a suffix test; anything else goes through a wildcard
// expression.
class NameMatcher
{
public:
    explicit NameMatcher(const QStringList &patterns)
    {
        for (const QString &pattern : patterns) {
            const QStringView rest = QStringView(pattern).mid(1);
            if (pattern.startsWith(u'*') && !rest.contains(u'*') && !rest.contains(u'?') && !rest.contains(u'['))
                m_suffixes.append(rest.toString());
            else
                m_expressions.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                                        QRegularExpression::CaseInsensitiveOption));
        }
    }

    bool operator()(const QString &name) const
    {
        if (m_suffixes.isEmpty() && m_expressions.isEmpty())
            return true;
        for (const QString &suffix : m_suffixes)
            if (name.endsWith(suffix, Qt::CaseInsensitive))
                return true;
        for (const QRegularExpression &expression : m_expressions)
            if (expression.match(name).hasMatch())
                return true;
        return false;
    }

private:
    QStringList m_suffixes;
    QList<QRegularExpression> m_expressions;
};

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
    const NameMatcher matches(patterns);
    QStringList names;
    // The directory read as it is: most entries say what they are, so only
    // links (and file systems that do not say) cost a stat. A folder of a
    // thousand photos lists in a fraction of a millisecond.
    DIR *listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing)
        return {};
    const int folderFd = ::dirfd(listing);
    while (const dirent *entry = ::readdir(listing)) {
        if (entry->d_name[0] == '.')
            continue; // hidden, and "." and ".."
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            // A link counts as what it leads to; a dangling one as nothing.
            struct stat target {};
            if (::fstatat(folderFd, entry->d_name, &target, 0) != 0)
                continue;
            type = S_ISREG(target.st_mode) ? DT_REG : S_ISDIR(target.st_mode) ? DT_DIR : DT_UNKNOWN;
        }
        if (type != (kind == EntryKind::Files ? DT_REG : DT_DIR))
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (matches(name))
            names.append(name);
    }
    ::closedir(listing);
    sortForListing(names);
    return names;
}

} // namespace folderlists
