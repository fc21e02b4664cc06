#include "batch/engine/FolderSearch.h"

#include <algorithm>
#include <cerrno>
#include <set>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "platform/core/FolderEntries.h"
#include "platform/core/FolderPaths.h"

namespace batch {

namespace {

using FolderId = std::pair<dev_t, ino_t>;

struct Listed
{
    QString name;
    bool enter = false; // a folder of its own, not a link to one
};

enum class EntryKind { Skipped, File, Folder, LinkedFolder };

// What an entry is, from its status alone: nothing is opened.
EntryKind kindOf(int folder, const char *name)
{
    struct stat status {};
    if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryKind::Skipped; // gone since it was listed
    if (S_ISDIR(status.st_mode))
        return EntryKind::Folder;
    if (S_ISREG(status.st_mode))
        return EntryKind::File;
    if (!S_ISLNK(status.st_mode) || ::fstatat(folder, name, &status, 0) != 0)
        return EntryKind::Skipped; // FIFO, socket, device, dangling link
    if (S_ISDIR(status.st_mode))
        return EntryKind::LinkedFolder;
    return S_ISREG(status.st_mode) ? EntryKind::File : EntryKind::Skipped;
}

class Walk
{
public:
    explicit Walk(const SearchEvents &events) : m_events(events) {}

    QStringList run(const QString &start)
    {
        // Pending folders, the next one on top, so each folder's subfolders
        // are searched in their order before the folders after it.
        std::vector<QString> pending{folderlists::withTrailingSeparator(start)};
        for (bool isStart = true; !pending.empty(); isStart = false) {
            const QString folder = std::move(pending.back());
            pending.pop_back();
            std::vector<Listed> entries;
            if (!list(folder, entries, isStart))
                continue;
            std::vector<QString> subfolders;
            for (const Listed &entry : entries) {
                m_found.append(folder + entry.name);
                if (entry.enter)
                    subfolders.push_back(folderlists::withTrailingSeparator(folder + entry.name));
            }
            pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
            if (m_events.folderListed)
                m_events.folderListed();
        }
        return m_found;
    }

private:
    void failed(const QString &folder, int error)
    {
        if (m_events.folderFailed)
            m_events.folderFailed(folder, QStringLiteral("フォルダーを開けません: %1 (%2)")
                                              .arg(folder, qt_error_string(error)));
    }

    // The folder's entries in listing order; false when it was already
    // searched or cannot be listed (reported). The start folder may be a
    // link; a folder found inside the tree is opened only as a folder.
    bool list(const QString &folder, std::vector<Listed> &entries, bool isStart)
    {
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (isStart ? 0 : O_NOFOLLOW);
        const int fd = ::open(QFile::encodeName(folder).constData(), flags);
        if (fd < 0) {
            failed(folder, errno);
            return false;
        }
        DIR *dir = ::fdopendir(fd);
        if (!dir) {
            failed(folder, errno);
            ::close(fd);
            return false;
        }
        bool listed = false;
        struct stat status {};
        if (::fstat(fd, &status) != 0)
            failed(folder, errno);
        else if (m_visited.insert({status.st_dev, status.st_ino}).second)
            listed = read(dir, folder, entries);
        ::closedir(dir);
        return listed;
    }

    bool read(DIR *dir, const QString &folder, std::vector<Listed> &entries)
    {
        for (;;) {
            errno = 0;
            const dirent *entry = ::readdir(dir);
            if (!entry)
                break;
            // Hidden entries, "." and ".." among them, stay out as in every list.
            if (entry->d_name[0] == '.')
                continue;
            const EntryKind kind = kindOf(::dirfd(dir), entry->d_name);
            if (kind != EntryKind::Skipped)
                entries.push_back({QFile::decodeName(entry->d_name), kind == EntryKind::Folder});
        }
        if (errno != 0) {
            failed(folder, errno);
            entries.clear();
            return false;
        }
        std::sort(entries.begin(), entries.end(),
                  [](const Listed &a, const Listed &b) { return folderlists::listsBefore(a.name, b.name); });
        return true;
    }

    const SearchEvents &m_events;
    std::set<FolderId> m_visited;
    QStringList m_found;
};

} // namespace

QStringList searchFolder(const QString &start, const SearchEvents &events)
{
    return Walk(events).run(start);
}

} // namespace batch
