#include "FileSystemFixtures.h"

#include <sys/fsuid.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>

namespace fixtures {

namespace {
constexpr unsigned kNobody = 65534;
} // namespace

AsUnprivilegedUser::AsUnprivilegedUser()
{
    ::setfsgid(kNobody);
    ::setfsuid(kNobody);
    // setfsuid reports the previous id: asking again tells whether it took.
    m_active = ::setfsuid(kNobody) == static_cast<int>(kNobody);
}

AsUnprivilegedUser::~AsUnprivilegedUser()
{
    ::setfsuid(::geteuid());
    ::setfsgid(::getegid());
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

QStringList folderListing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString fixtureFile(const QString &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(folder).filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    if (!writeBytes(path, bytes))
        qFatal("cannot write fixture %s", qPrintable(path));
    return path;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace fixtures
