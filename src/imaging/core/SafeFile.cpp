#include "imaging/core/SafeFile.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
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

MappedFile::MappedFile(const QString &path)
{
    qint64 size = 0;
    const Descriptor file = openRegularFile(path, size);
    if (size == 0)
        return; // nothing to map: an empty view
    void *address = ::mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_PRIVATE, file.get(), 0);
    if (address == MAP_FAILED)
        throw readError(errno);
    m_address = address;
    m_size = size;
}

MappedFile::~MappedFile()
{
    if (m_address)
        ::munmap(m_address, static_cast<size_t>(m_size));
}

QByteArrayView MappedFile::bytes() const
{
    return {static_cast<const char *>(m_address), static_cast<qsizetype>(m_size)};
}

void writeFileAtomically(const QString &path, QByteArrayView data)
{
    if (path.isEmpty())
        throwWriteFailed(QStringLiteral("ファイル名がありません"));
    // QSaveFile would cut the name at a NUL and write somewhere else.
    if (path.contains(QChar(u'\0')))
        throwWriteFailed(QStringLiteral("ファイル名に使えない文字があります"));

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
