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

// A regular file mapped read-only, so that reading its header touches only
// the pages the header lies in. Refuses what readRegularFile refuses.
class MappedFile
{
public:
    explicit MappedFile(const QString &path);
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;
    [[nodiscard]] QByteArrayView bytes() const;

private:
    void *m_address = nullptr;
    qint64 m_size = 0;
};

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
