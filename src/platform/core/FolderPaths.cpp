#include "platform/core/FolderPaths.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/Error.h"
#include "platform/core/FolderEntries.h"

namespace folderlists {

namespace {

using Kind = imaging::Error::Kind;

bool isSeparator(QChar c)
{
    return c == u'/' || c == QDir::separator();
}

// What every folder failure says: what went wrong, which folder, and why in
// the system's words.
imaging::Error folderError(Kind kind, const QString &what, const QString &path, const QString &reason)
{
    return imaging::Error(kind, QStringLiteral("%1\n\n%2\n\n%3").arg(what, QDir::toNativeSeparators(path), reason));
}

Kind kindOf(const std::error_code &error)
{
    if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory)
        return Kind::NotFound;
    return Kind::Unreadable;
}

QString reasonOf(const std::error_code &error)
{
    return QString::fromLocal8Bit(error.message());
}

// The path as the system spells it. A NUL would cut the name short and name
// another folder, so it is refused.
std::filesystem::path systemPath(const QString &path, const QString &what)
{
    if (path.contains(QChar(u'\0')))
        throw folderError(Kind::InvalidArgument, what, path.section(QChar(u'\0'), 0, 0),
                          QStringLiteral("invalid folder name"));
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Every entry of folder a name could clash with, hidden ones too, in
// listing order.
QStringList entriesOf(const QString &folder, QDir::Filters kinds)
{
    QStringList names = QDir(folder).entryList(kinds | QDir::NoDotAndDotDot, QDir::Unsorted);
    sortForListing(names);
    return names;
}

} // namespace

bool endsWithSeparator(QStringView path)
{
    return !path.isEmpty() && isSeparator(path.back());
}

QString fileNameOf(QStringView path)
{
    qsizetype cut = path.size() - 1;
    while (cut >= 0 && !isSeparator(path[cut]))
        --cut;
    return path.mid(cut + 1).toString();
}

QString withTrailingSeparator(QStringView folder)
{
    return endsWithSeparator(folder) ? folder.toString() : folder.toString() + QDir::separator();
}

QString joinFolder(QStringView folder, QStringView name)
{
    return withTrailingSeparator(folder) + name.toString();
}

QString firstMatch(const QString &path, bool foldersToo)
{
    qsizetype cut = path.size() - 1;
    while (cut >= 0 && !isSeparator(path[cut]))
        --cut;
    const QString folder = cut < 0 ? QDir::currentPath() : path.left(cut + 1);
    const QString name = path.mid(cut + 1);
    if (!QFileInfo(folder).isDir())
        return QString();

    if (name.isEmpty()) {
        if (foldersToo)
            return QStringLiteral(".");
        const QStringList files = listedEntries(folder, EntryKind::Files);
        return files.isEmpty() ? QString() : files.first();
    }
    // Every folder lists itself and its parent.
    if (foldersToo && (name == u"." || name == u".."))
        return name;
    const QDir::Filters kinds = foldersToo ? QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System
                                           : QDir::Files | QDir::Hidden | QDir::System;
    for (const QString &entry : entriesOf(folder, kinds))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return QString();
}

QString openableFolder(const QString &path)
{
    const QString what = QStringLiteral("フォルダーを開けません。");
    if (path.isEmpty())
        throw folderError(Kind::NotFound, what, path, QStringLiteral("no folder given"));
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const std::filesystem::path folder = systemPath(absolute, what);

    std::error_code error;
    const auto status = std::filesystem::status(folder, error);
    if (error)
        throw folderError(kindOf(error), what, absolute, reasonOf(error));
    if (!std::filesystem::is_directory(status))
        throw folderError(Kind::NotRegularFile, what, absolute,
                          reasonOf(std::make_error_code(std::errc::not_a_directory)));
    // Listing it is what the lists will do: a folder we may not read fails here.
    std::filesystem::directory_iterator listing(folder, error);
    if (error)
        throw folderError(kindOf(error), what, absolute, reasonOf(error));
    return QDir::toNativeSeparators(absolute);
}

QString currentFolderOrRoot()
{
    try {
        return openableFolder(QDir::currentPath());
    } catch (const imaging::Error &) {
        return QDir::toNativeSeparators(QDir::rootPath());
    }
}

void createFolder(const QString &path)
{
    const QString what = QStringLiteral("フォルダーを作成できません。");
    std::error_code error;
    // A folder of that name already there is no success of this call.
    if (!std::filesystem::create_directory(systemPath(path, what), error) && !error)
        error = std::make_error_code(std::errc::file_exists);
    if (error)
        throw folderError(Kind::WriteFailed, what, path, reasonOf(error));
}

void enterFolder(const QString &path)
{
    const QString what = QStringLiteral("フォルダーに移動できません。");
    if (path.isEmpty())
        throw folderError(Kind::NotFound, what, path, QStringLiteral("no folder given"));
    std::error_code error;
    std::filesystem::current_path(systemPath(path, what), error);
    if (error)
        throw folderError(kindOf(error), what, path, reasonOf(error));
}

} // namespace folderlists
