#include "support/PrintSeams.h"

#include <QFile>
#include <QtTest>

#include "support/PdfPages.h"

namespace testsupport {

ScriptedPrinterSetup::ScriptedPrinterSetup(std::source_location where)
    : m_createdAt(where)
    , m_seam([this](QWidget *owner, platform::PrinterChoice &choice) {
        m_owners << owner;
        m_shown << choice;
        if (m_answers.isEmpty()) {
            QTest::qFail("a printer setup dialog nobody expected", m_createdAt.file_name(), int(m_createdAt.line()));
            return false;
        }
        const Answer answer = m_answers.takeFirst();
        if (answer.accept && answer.change)
            answer.change(choice);
        return answer.accept;
    })
{
}

ScriptedPrinterSetup::~ScriptedPrinterSetup()
{
    if (!m_answers.isEmpty())
        QTest::qFail("a printer setup answer was never asked for", m_createdAt.file_name(), int(m_createdAt.line()));
}

void ScriptedPrinterSetup::accept(Change change)
{
    m_answers << Answer{true, std::move(change)};
}

void ScriptedPrinterSetup::cancel()
{
    m_answers << Answer{false, {}};
}

PrintToPdfFolder::PrintToPdfFolder()
    : m_previousFolder(QDir::currentPath())
    , m_previousPrinter(platform::applicationPrinter())
{
    QDir().mkpath(pdfFolder());
    QFile settings(settingsFile());
    if (settings.open(QIODevice::WriteOnly))
        settings.write("output=pdf\npdf folder=" + pdfFolder().toUtf8() + "\n");
    QDir::setCurrent(m_dir.path());
    platform::PrinterChoice pdf;
    pdf.pdfFolder = pdfFolder();
    platform::applicationPrinter() = pdf;
    platform::setPdfNoticeGiven(true);
}

PrintToPdfFolder::~PrintToPdfFolder()
{
    QDir::setCurrent(m_previousFolder);
    platform::applicationPrinter() = m_previousPrinter;
}

QStringList PrintToPdfFolder::pdfs() const
{
    QStringList paths;
    for (const QString &name : pdfsIn(pdfFolder()))
        paths << QDir(pdfFolder()).filePath(name);
    return paths;
}

} // namespace testsupport
