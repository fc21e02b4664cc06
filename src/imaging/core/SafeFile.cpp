#include "imaging/core/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include "imaging/core/Codec.h"
#include "base/Error.h"

namespace imaging {

namespace {

Error readError(int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return Error::of(Error::Kind::NotFound);
    if (error == EACCES || error == EPERM)
        return Error::of(Error::Kind::Unreadable, QStringLiteral("読み取る権限がありません"));
    return Error::of(Error::Kind::Unreadable, qt_error_string(error));
}

Error fileTooLarge()
{
    return Error::of(Error::Kind::TooLarge, QStringLiteral("ファイルが %1 GB を超えています").arg(kMaxFileBytes >> 30));
}

// Closes the descriptor on every way out.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(Descriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    Descriptor &operator=(Descriptor &&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

void requireRegularFile(const struct stat &status)
{
    if (!S_ISREG(status.st_mode))
        throw Error::of(Error::Kind::NotRegularFile);
    if (status.st_size > kMaxFileBytes)
        throw fileTooLarge();
}

QByteArray readAll(int fd, qint64 expectedSize)
{
    QByteArray data;
    data.resize(static_cast<qsizetype>(expectedSize));
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size()) {
            // The file grew after stat: keep reading in steps, within the limit.
            if (data.size() >= kMaxFileBytes)
                throw fileTooLarge();
            data.resize(data.size() + 65536);
        }
        const ssize_t got = ::read(fd, data.data() + filled, static_cast<size_t>(data.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw readError(errno);
        if (got == 0)
            break;
        filled += static_cast<qsizetype>(got);
    }
    data.truncate(filled);
    return data;
}

[[noreturn]] void throwWriteFailed(const QString &reason)
{
    throw Error::of(Error::Kind::WriteFailed, reason);
}

void requireWritablePath(const QString &path)
{
    if (path.isEmpty())
        throwWriteFailed(QStringLiteral("ファイル名がありません"));
    // A NUL would cut the name short and write somewhere else.
    if (path.contains(QChar(u'\0')))
        throwWriteFailed(QStringLiteral("ファイル名に使えない文字があります"));
}

// A new file under a hidden, unique name in the folder of the file it is
// to become; removed again unless it was given that file's name.
class TemporaryFile
{
public:
    explicit TemporaryFile(const QString &target)
    {
        const QString folder = QFileInfo(target).path();
        while (m_fd < 0) {
            const quint64 tag = QRandomGenerator::global()->generate64();
            m_name = QFile::encodeName(folder + QStringLiteral("/.morvell-%1.tmp").arg(tag, 16, 16, QChar(u'0')));
            // 0666: the umask decides, as for any new file.
            m_fd = ::open(m_name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
            if (m_fd < 0 && errno != EEXIST)
                throwWriteFailed(qt_error_string(errno));
        }
    }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_renamed)
            ::unlink(m_name.constData());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // Every byte written and on the disk, or an exception.
    void write(QByteArrayView data)
    {
        const char *next = data.data();
        qsizetype left = data.size();
        while (left > 0) {
            const ssize_t written = ::write(m_fd, next, static_cast<size_t>(left));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                throwWriteFailed(qt_error_string(written < 0 ? errno : ENOSPC));
            next += written;
            left -= written;
        }
        if (::fdatasync(m_fd) != 0 && errno != EINVAL)
            throwWriteFailed(qt_error_string(errno));
        const int fd = std::exchange(m_fd, -1);
        if (::close(fd) != 0)
            throwWriteFailed(qt_error_string(errno));
    }

    // Gives the file the target's name unless something already holds it.
    bool nameWithoutReplacing(const QByteArray &target)
    {
        if (::renameat2(AT_FDCWD, m_name.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) {
            m_renamed = true;
            return true;
        }
        if (errno == EEXIST)
            return false;
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
            throwWriteFailed(qt_error_string(errno));
        // A file system without that rename: a hard link refuses a taken
        // name the same way, and the temporary name goes when this ends.
        if (::link(m_name.constData(), target.constData()) == 0)
            return true;
        if (errno == EEXIST)
            return false;
        throwWriteFailed(qt_error_string(errno));
    }

private:
    QByteArray m_name;
    int m_fd = -1;
    bool m_renamed = false;
};

// Opens a regular file for reading and gives its size. A folder, FIFO or
// device is refused from its status alone, before any blocking open.
Descriptor openRegularFile(const QString &path, qint64 &size)
{
    // A NUL would silently cut the name short and name another file.
    if (path.contains(QChar(u'\0')))
        throw Error::of(Error::Kind::InvalidArgument, QStringLiteral("ファイル名に使えない文字があります"));
    const QByteArray name = QFile::encodeName(path);

    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        throw readError(errno);
    requireRegularFile(status);

    // O_NONBLOCK: if the name was swapped for a FIFO since stat, open must
    // not wait for a writer; the fstat below then refuses it.
    Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        throw readError(errno);
    if (::fstat(file.get(), &status) != 0)
        throw readError(errno);
    requireRegularFile(status);
    size = status.st_size;
    return file;
}

} // namespace

QByteArray readRegularFile(const QString &path)
{
    qint64 size = 0;
    const Descriptor file = openRegularFile(path, size);
    return readAll(file.get(), size);
}

FileHead readFileHead(const QString &path, qint64 limit)
{
    qint64 size = 0;
    const Descriptor file = openRegularFile(path, size);
    FileHead head{QByteArray(static_cast<qsizetype>(std::min(size, limit)), Qt::Uninitialized), size};
    qsizetype filled = 0;
    while (filled < head.bytes.size()) {
        const ssize_t got = ::read(file.get(), head.bytes.data() + filled, static_cast<size_t>(head.bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw readError(errno);
        if (got == 0)
            break; // cut short since the stat
        filled += static_cast<qsizetype>(got);
    }
    head.bytes.truncate(filled);
    return head;
}

void writeFileAtomically(const QString &path, QByteArrayView data)
{
    requireWritablePath(path);

    QSaveFile file(path);
    // Never fall back to writing the old file in place: a failure half-way
    // would destroy it.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throwWriteFailed(file.errorString());

    // A full disk shows as a short write without an error; the next write
    // names the reason. Commit only when every byte went out.
    const char *next = data.data();
    qint64 left = data.size();
    while (left > 0) {
        const qint64 written = file.write(next, left);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            throwWriteFailed(reason);
        }
        next += written;
        left -= written;
    }
    if (!file.commit())
        throwWriteFailed(file.errorString());
}

bool writeNewFileAtomically(const QString &path, QByteArrayView data)
{
    requireWritablePath(path);
    TemporaryFile file(path);
    file.write(data);
    return file.nameWithoutReplacing(QFile::encodeName(path));
}

} // namespace imaging
