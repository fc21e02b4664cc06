#pragma once

#include <functional>
#include <source_location>

#include <QDir>
#include <QList>
#include <QPointer>
#include <QTemporaryDir>

#include "platform/Printing.h"
#include "support/SeamOverrides.h"

class QWidget;

namespace testsupport {

// A printer setup dialog answered from a script: each showing takes the
// next answer (accept, after an optional change of the choice, or cancel)
// and records its owner. A showing with no answer queued, or an answer left
// unused at the end of the scope, fails the running test.
class ScriptedPrinterSetup
{
public:
    using Change = std::function<void(platform::PrinterChoice &)>;

    explicit ScriptedPrinterSetup(std::source_location where = std::source_location::current());
    ~ScriptedPrinterSetup();
    ScriptedPrinterSetup(const ScriptedPrinterSetup &) = delete;
    ScriptedPrinterSetup &operator=(const ScriptedPrinterSetup &) = delete;

    void accept(Change change = {});
    void cancel();
    [[nodiscard]] const QList<QPointer<QWidget>> &owners() const { return m_owners; }
    // The choice each showing started from.
    [[nodiscard]] const QList<platform::PrinterChoice> &shownChoices() const { return m_shown; }

private:
    struct Answer
    {
        bool accept;
        Change change;
    };
    QList<Answer> m_answers;
    QList<QPointer<QWidget>> m_owners;
    QList<platform::PrinterChoice> m_shown;
    std::source_location m_createdAt;
    SeamOverride<platform::PrinterSetupFunction, &platform::setPrinterSetupDialog> m_seam;
};

// Printing a window's image replaced by a look at the window at that moment.
using PrintWindowOverride = SeamOverride<platform::PrintWindowFunction, &platform::setPrintWindowImage>;

// Every job of the test goes to PDFs in a fresh folder: the current folder
// is a fresh one whose settings file says so, the application's printer
// too, and the one-per-run PDF notice counts as given. All is put back at
// the end of the scope.
class PrintToPdfFolder
{
public:
    PrintToPdfFolder();
    ~PrintToPdfFolder();
    PrintToPdfFolder(const PrintToPdfFolder &) = delete;
    PrintToPdfFolder &operator=(const PrintToPdfFolder &) = delete;

    [[nodiscard]] QString pdfFolder() const { return m_dir.filePath(QStringLiteral("pdf")); }
    [[nodiscard]] QString settingsFile() const { return m_dir.filePath(QStringLiteral("Ik5Prn.Ik5")); }
    [[nodiscard]] QString path(const QString &name) const { return m_dir.filePath(name); }
    // The PDFs written so far, full paths, by name.
    [[nodiscard]] QStringList pdfs() const;

private:
    QTemporaryDir m_dir;
    QString m_previousFolder;
    platform::PrinterChoice m_previousPrinter;
};

} // namespace testsupport
