#include "rules/ErrorLog.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/core/FolderPaths.h"
#include "platform/core/Seams.h"

namespace errorlog {

namespace {

const QString kLogName = QStringLiteral("Errlog.txt");

QString oneLine(QStringView text)
{
    QString line = text.toString();
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

QByteArray quoted(QStringView text)
{
    return '"' + oneLine(text).toUtf8() + '"';
}

// Appends data to the file at path in one write; an empty text when it went
// there, else the reason it could not.
QString appendTo(const QString &path, const QByteArray &data)
{
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: a FIFO named Errlog.txt must not hold the run up waiting
    // for a reader; anything but a regular file is refused below.
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0)
        return qt_error_string(errno);
    QString reason;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        reason = QStringLiteral("not a regular file");
    } else {
        qsizetype done = 0;
        while (done < data.size()) {
            const ssize_t wrote = ::write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote <= 0) {
                reason = qt_error_string(wrote < 0 ? errno : ENOSPC);
                break;
            }
            done += wrote;
        }
    }
    if (::close(fd) != 0 && reason.isEmpty())
        reason = qt_error_string(errno);
    return reason;
}

Appended toStandardError(const QByteArray &record, const QString &reason)
{
    std::fwrite(record.constData(), 1, static_cast<size_t>(record.size()), stderr);
    std::fflush(stderr);
    return {QString(), reason};
}

QByteArray recordNow(const QString &file, const QString &description)
{
    return errorRecord(file, description, platform::currentDateTime().time());
}

} // namespace

QByteArray errorRecord(QStringView file, QStringView description, QTime time)
{
    const QByteArray stamp = QString::asprintf("#%02d:%02d:%02d#", time.hour(), time.minute(), time.second()).toLatin1();
    return quoted(u"Resize Err") + ',' + quoted(file) + ',' + quoted(description) + ',' + stamp + "\r\n";
}

QString programFolderLog()
{
    return folderlists::joinFolder(platform::programFolder(), kLogName);
}

QString stateFolderLog()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // The base directory rules ignore a relative path.
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/morvell-viewer/") + kLogName;
}

Appended AppendErrorRecord(const QString &file, const QString &description)
{
    try {
        const QByteArray record = recordNow(file, description);
        const QString inProgramFolder = programFolderLog();
        const QString programReason = appendTo(inProgramFolder, record);
        if (programReason.isEmpty())
            return {inProgramFolder, QString()};
        const QString inStateFolder = stateFolderLog();
        QDir().mkpath(QFileInfo(inStateFolder).path());
        const QString stateReason = appendTo(inStateFolder, record);
        if (stateReason.isEmpty())
            return {inStateFolder, QString()};
        return toStandardError(record, QStringLiteral("%1: %2; %3: %4")
                                           .arg(inProgramFolder, programReason, inStateFolder, stateReason));
    } catch (...) {
        return {QString(), QStringLiteral("the error log could not be written")};
    }
}

Appended AppendErrorRecordTo(const QString &logFile, const QString &file, const QString &description)
{
    try {
        const QByteArray record = recordNow(file, description);
        const QString reason = appendTo(logFile, record);
        if (reason.isEmpty())
            return {logFile, QString()};
        return toStandardError(record, QStringLiteral("%1: %2").arg(logFile, reason));
    } catch (...) {
        return {QString(), QStringLiteral("the error log could not be written")};
    }
}

} // namespace errorlog
