#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QTime>

// The error log: resize operations append one record per failure to the
// text file Errlog.txt and go on. The log is only ever appended to.
namespace errorlog {

// One record, one line: "Resize Err","<file>","<description>",#hh:mm:ss#
// and CR LF, in UTF-8. Text fields are quoted with their content as it is
// (a quotation mark inside is not doubled), except that a CR or LF becomes a
// blank, so a file name holding a line break still gives one line.
[[nodiscard]] QByteArray errorRecord(QStringView file, QStringView description, QTime time);

// Errlog.txt in the program folder, and where records go when that folder
// cannot be written (an installed program): $XDG_STATE_HOME/morvell-viewer,
// by default ~/.local/state/morvell-viewer.
[[nodiscard]] QString programFolderLog();
[[nodiscard]] QString stateFolderLog();

// Where a record went: the log file's path, or empty when no log could be
// written and the record went to standard error; then `reason` says why.
struct Appended
{
    QString path;
    QString reason;
    [[nodiscard]] bool toStandardError() const { return path.isEmpty(); }
};

// Appends one record, stamped with the clock's time of day, to the program
// folder's log, else the state folder's, else standard error. The file is
// opened and closed for every record and written with one call, so records
// of several processes do not interleave. Never throws: a log that cannot be
// written must not end a run.
Appended AppendErrorRecord(const QString &file, const QString &description);

// The same with a log file of the caller's choosing (a command's --log):
// that file, else standard error.
Appended AppendErrorRecordTo(const QString &logFile, const QString &file, const QString &description);

} // namespace errorlog
