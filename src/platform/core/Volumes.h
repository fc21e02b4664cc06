#pragma once

#include <functional>

#include <QByteArray>
#include <QList>
#include <QString>

// The "drives" of the drive lists. Here a drive is a mounted file system a
// user keeps files on: the root "/" always, then disks and partitions,
// network shares and user-space mounts (those a file manager makes for
// connected network folders). The system's own pseudo file systems (proc,
// sysfs, cgroup, devpts...), snap images, container layers and the tmpfs
// mounts under /dev and /run are not drives.
namespace folderlists {

struct Volume
{
    QString root;  // mount point, native separators
    QString label; // the file system's name; empty when it has none

    bool operator==(const Volume &) const = default;
};

// Whether a mount is a drive, from its mount point, device and type.
[[nodiscard]] bool isUserVolume(const QString &root, const QByteArray &device, const QByteArray &type);

// The drives now: "/" first, then the others by mount point, each once.
[[nodiscard]] QList<Volume> drives();

// The drive a path lies on: the one with the longest root containing it;
// empty when none does.
[[nodiscard]] QString driveOf(const QList<Volume> &volumes, const QString &path);

// Where the drive lists get their drives from; tests install a fixed list.
// Returns the source it replaced; an empty one means the mounted volumes.
using VolumeSource = std::function<QList<Volume>()>;
VolumeSource setVolumeSource(VolumeSource source);

} // namespace folderlists
