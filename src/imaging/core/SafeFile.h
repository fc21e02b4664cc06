#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace imaging {

// Files larger than this are refused before being read into memory.
inline constexpr qint64 kMaxFileBytes = qint64(2) << 30;

// The whole content of a regular file, read once. A folder, FIFO or device
// is refused from its status alone, before any blocking open or read.
// Throws Error: NotFound, NotRegularFile, Unreadable (naming the system's
// reason), TooLarge, InvalidArgument (a name with a NUL character).
[[nodiscard]] QByteArray readRegularFile(const QString &path);

// The first `limit` bytes of a regular file (all of it when it is shorter),
// and its whole size. Refuses what readRegularFile refuses. For headers: a
// file another program cuts short meanwhile only gives fewer bytes, never a
// fault, as a mapping of it would.
struct FileHead
{
    QByteArray bytes;
    qint64 fileSize = 0;
};
[[nodiscard]] FileHead readFileHead(const QString &path, qint64 limit);

// Replaces the file at path with data, all or nothing: the bytes go to a
// temporary file in the same folder that is renamed over the old file only
// once every byte has reached it. On failure throws Error(WriteFailed) naming
// the reason; the old file stays byte-identical and no temporary file is left.
void writeFileAtomically(const QString &path, QByteArrayView data);

// Writes data as a new file at path, all or nothing, never replacing
// anything: the bytes go to a temporary file in the same folder, reach the
// disk, and only then take the name, in one step that fails if the name is
// taken (also by a file that appeared after the caller last looked). Returns
// false then, leaving the other file as it was. Other failures throw
// Error(WriteFailed). No temporary file is left either way.
[[nodiscard]] bool writeNewFileAtomically(const QString &path, QByteArrayView data);

} // namespace imaging
