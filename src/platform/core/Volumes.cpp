#include "platform/core/Volumes.h"

#include <algorithm>
#include <utility>

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace folderlists {

namespace {

VolumeSource &installedSource()
{
    static VolumeSource source;
    return source;
}

bool isUnder(const QString &path, QLatin1StringView folder)
{
    return path == folder || path.startsWith(folder + u'/');
}

// Types that are never a drive, wherever they are mounted. Memory file
// systems are included: what lies there is gone at the next start.
bool isPseudoType(const QByteArray &type)
{
    static const QByteArray pseudo[] = {
        "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "securityfs", "debugfs",
        "tracefs", "configfs", "fusectl", "mqueue", "hugetlbfs", "pstore", "bpf", "binfmt_misc",
        "autofs", "efivarfs", "squashfs", "nsfs", "rpc_pipefs", "overlay", "tmpfs", "ramfs",
        "fuse.portal", "fuse.lxcfs"};
    return std::find(std::begin(pseudo), std::end(pseudo), type) != std::end(pseudo);
}

bool isNetworkType(const QByteArray &type)
{
    static const QByteArray network[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "9p", "davfs"};
    return std::find(std::begin(network), std::end(network), type) != std::end(network);
}

QList<Volume> mountedVolumes()
{
    QList<Volume> volumes;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        const QString root = storage.rootPath();
        // Files bound into place (a container's /etc/hosts) are no folders.
        if (!storage.isValid() || !QFileInfo(root).isDir())
            continue;
        if (isUserVolume(root, storage.device(), storage.fileSystemType()))
            volumes.append({QDir::toNativeSeparators(root), storage.name()});
    }
    return volumes;
}

bool containsPath(const QString &root, const QString &path)
{
    const QString folder = QDir::fromNativeSeparators(root);
    const QString inside = QDir::fromNativeSeparators(path);
    if (folder.endsWith(u'/'))
        return inside.startsWith(folder);
    return inside == folder || inside.startsWith(folder + u'/');
}

} // namespace

bool isUserVolume(const QString &root, const QByteArray &device, const QByteArray &type)
{
    if (root == u"/")
        return true;
    if (isPseudoType(type))
        return false;
    // The system's own places; a file manager's user mounts live below
    // /run/media (disks) and /run/user/<id> (network folders).
    const bool systemPlace = isUnder(root, QLatin1StringView("/proc")) || isUnder(root, QLatin1StringView("/sys"))
        || isUnder(root, QLatin1StringView("/dev")) || isUnder(root, QLatin1StringView("/snap"))
        || isUnder(root, QLatin1StringView("/var/lib")) || isUnder(root, QLatin1StringView("/run"));
    const bool userPlaceUnderRun = isUnder(root, QLatin1StringView("/run/media"))
        || (isUnder(root, QLatin1StringView("/run/user")) && type.startsWith("fuse."));
    if (systemPlace && !userPlaceUnderRun)
        return false;
    return device.startsWith("/dev/") || isNetworkType(type) || type.startsWith("fuse.");
}

QList<Volume> drives()
{
    const VolumeSource &source = installedSource();
    QList<Volume> volumes = source ? source() : mountedVolumes();
    std::stable_sort(volumes.begin(), volumes.end(), [](const Volume &a, const Volume &b) {
        const bool aRoot = a.root == QDir::separator();
        const bool bRoot = b.root == QDir::separator();
        return aRoot != bRoot ? aRoot : a.root < b.root;
    });
    // A folder mounted twice (bind mounts) is one drive.
    volumes.erase(std::unique(volumes.begin(), volumes.end(),
                              [](const Volume &a, const Volume &b) { return a.root == b.root; }),
                  volumes.end());
    return volumes;
}

QString driveOf(const QList<Volume> &volumes, const QString &path)
{
    QString best;
    for (const Volume &volume : volumes)
        if (containsPath(volume.root, path) && volume.root.size() > best.size())
            best = volume.root;
    return best;
}

VolumeSource setVolumeSource(VolumeSource source)
{
    return std::exchange(installedSource(), std::move(source));
}

} // namespace folderlists
