#include "imaging/core/SafeFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSaveFile>

#include "imaging/core/Codec.h"
#include "base/Error.h"

namespace imaging {

namespace {

Error openError(int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return Error(Error::Kind::NotFound, QStringLiteral("file not found"));
    return Error(Error::Kind::Unreadable, lowerFirst(qt_error_string(error)));
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
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

void requireRegularFile(const struct stat &status)
{
    if (!S_ISREG(status.st_mode))
        throw Error(Error::Kind::NotRegularFile, QStringLiteral("not a regular file"));
    if (status.st_size > kMaxFileBytes)
        throw Error(Error::Kind::TooLarge, QStringLiteral("file too large"));
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
                throw Error(Error::Kind::TooLarge, QStringLiteral("file too large"));
            data.resize(data.size() + 65536);
        }
        const ssize_t got = ::read(fd, data.data() + filled, static_cast<size_t>(data.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw Error(Error::Kind::Unreadable, lowerFirst(qt_error_string(errno)));
        if (got == 0)
            break;
        filled += static_cast<qsizetype>(got);
    }
    data.truncate(filled);
    return data;
}

[[noreturn]] void throwWriteFailed(const QString &reason)
{
    throw Error(Error::Kind::WriteFailed, QStringLiteral("cannot write file: %1").arg(lowerFirst(reason)));
}

} // namespace

QByteArray readRegularFile(const QString &path)
{
    // A NUL would silently cut the name short and name another file.
    if (path.contains(QChar(u'\0')))
        throw Error(Error::Kind::InvalidArgument, QStringLiteral("invalid file name"));
    const QByteArray name = QFile::encodeName(path);

    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        throw openError(errno);
    requireRegularFile(status);

    // O_NONBLOCK: if the name was swapped for a FIFO since stat, open must
    // not wait for a writer; the fstat below then refuses it.
    const Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        throw openError(errno);
    if (::fstat(file.get(), &status) != 0)
        throw openError(errno);
    requireRegularFile(status);
    return readAll(file.get(), status.st_size);
}

void writeFileAtomically(const QString &path, QByteArrayView data)
{
    if (path.isEmpty())
        throwWriteFailed(QStringLiteral("no file name"));
    // QSaveFile would cut the name at a NUL and write somewhere else.
    if (path.contains(QChar(u'\0')))
        throwWriteFailed(QStringLiteral("invalid file name"));

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

} // namespace imaging
